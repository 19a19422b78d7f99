#include "LogRedirect.h"

#include "ExitStatus.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vanmoor::cli {

namespace fs = std::filesystem;

LogRedirect::LogRedirect(const std::optional<std::string>& target) {
    if (const char* previous = std::getenv("VANMOOR_LOG_DIR")) {
        m_PreviousLogDir = previous;
    }
    std::string pattern = (fs::temp_directory_path() / "vanmoor-log.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw CliError(ExitStatus::Failed, "cannot make a temporary log directory");
    }
    m_Directory = pattern;
    std::ofstream(fs::path(m_Directory) / "LogConfig.txt") << "file 1\n";
    // The library appends to Log.txt line by line; the link sends each line where asked.
    const fs::path destination = target ? fs::absolute(*target) : fs::path("/proc/self/fd/2");
    std::error_code error;
    fs::create_symlink(destination, fs::path(m_Directory) / "Log.txt", error);
    if (error) {
        fs::remove_all(m_Directory, error);
        throw CliError(ExitStatus::Failed, "cannot set up the log: " + error.message());
    }
    setenv("VANMOOR_LOG_DIR", m_Directory.c_str(), 1);
}

LogRedirect::~LogRedirect() {
    if (m_PreviousLogDir) {
        setenv("VANMOOR_LOG_DIR", m_PreviousLogDir->c_str(), 1);
    } else {
        unsetenv("VANMOOR_LOG_DIR");
    }
    std::error_code ignored;
    fs::remove_all(m_Directory, ignored);
}

} // namespace vanmoor::cli
