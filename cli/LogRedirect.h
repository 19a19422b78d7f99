#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vanmoor::cli {

// Turns the library's diagnostic log on for this run without touching the user's
// LogConfig.txt: a private temporary log directory with its own LogConfig.txt ("file 1") is
// named in VANMOOR_LOG_DIR until the object ends, and its Log.txt is a link to `target` (a file,
// or standard error when none is given). Must exist before the library's init.
class LogRedirect {
public:
    explicit LogRedirect(const std::optional<std::string>& target);
    ~LogRedirect();
    LogRedirect(const LogRedirect&) = delete;
    LogRedirect& operator=(const LogRedirect&) = delete;

private:
    std::string m_Directory;
    std::optional<std::string> m_PreviousLogDir;
#ifdef _WIN32
    std::optional<std::filesystem::path>
        m_Target; // where the lines go at the end; else standard error
#endif
};

} // namespace vanmoor::cli
