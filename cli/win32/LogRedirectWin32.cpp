#include "../LogRedirect.h"

#include "../ExitStatus.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

namespace vanmoor::cli {

namespace fs = std::filesystem;

namespace {

void SetLogDir(const char* value) {
    // An empty value removes the variable.
    _putenv_s("VANMOOR_LOG_DIR", value);
}

} // namespace

// Windows has no link to standard error: the library writes Log.txt in the private directory,
// and the end of the run hands its lines to the target.
LogRedirect::LogRedirect(const std::optional<std::string>& target) {
    if (const char* previous = std::getenv("VANMOOR_LOG_DIR")) {
        m_PreviousLogDir = previous;
    }
    if (target) {
        m_Target = fs::absolute(*target).string();
    }
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    for (unsigned attempt = 0; !error && attempt < 100 && m_Directory.empty(); ++attempt) {
        const fs::path candidate = base / ("vanmoor-log." + std::to_string(GetCurrentProcessId()) +
                                           "." + std::to_string(attempt));
        if (fs::create_directory(candidate, error)) {
            m_Directory = candidate.string();
        }
    }
    if (m_Directory.empty()) {
        throw CliError(ExitStatus::Failed, "cannot make a temporary log directory");
    }
    std::ofstream(fs::path(m_Directory) / "LogConfig.txt") << "file 1\n";
    SetLogDir(m_Directory.c_str());
}

LogRedirect::~LogRedirect() {
    SetLogDir(m_PreviousLogDir ? m_PreviousLogDir->c_str() : "");
    {
        std::ifstream lines(fs::path(m_Directory) / "Log.txt", std::ios::binary);
        if (lines && m_Target) {
            std::ofstream(*m_Target, std::ios::binary | std::ios::app) << lines.rdbuf();
        } else if (lines) {
            std::cerr << lines.rdbuf();
        }
    }
    std::error_code ignored;
    fs::remove_all(m_Directory, ignored);
}

} // namespace vanmoor::cli
