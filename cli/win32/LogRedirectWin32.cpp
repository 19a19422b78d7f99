#include "../LogRedirect.h"

#include "../Environment.h"
#include "../ExitStatus.h"
#include "../Utf8Path.h"
#include "WideText.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <system_error>

namespace vanmoor::cli {

namespace fs = std::filesystem;

namespace {

void SetLogDir(const std::wstring& value) {
    // An empty value removes the variable.
    _wputenv_s(L"VANMOOR_LOG_DIR", value.c_str());
}

} // namespace

// Windows has no link to standard error: the library writes Log.txt in the private directory,
// and the end of the run hands its lines to the target. Names go through UTF-16, as the
// narrow ones would be read in the ANSI code page.
LogRedirect::LogRedirect(const std::optional<std::string>& target)
    : m_PreviousLogDir(EnvironmentValue("VANMOOR_LOG_DIR")) {
    if (target) {
        m_Target = fs::absolute(PathFromUtf8(*target));
    }
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    fs::path directory;
    for (unsigned attempt = 0; !error && attempt < 100 && directory.empty(); ++attempt) {
        const fs::path candidate = base / ("vanmoor-log." + std::to_string(GetCurrentProcessId()) +
                                           "." + std::to_string(attempt));
        if (fs::create_directory(candidate, error)) {
            directory = candidate;
        }
    }
    if (directory.empty()) {
        throw CliError(ExitStatus::Failed, "cannot make a temporary log directory");
    }
    m_Directory = Utf8FromWide(directory.native());
    std::ofstream(directory / "LogConfig.txt") << "file 1\n";
    SetLogDir(directory.native());
}

LogRedirect::~LogRedirect() {
    SetLogDir(m_PreviousLogDir ? WideFromUtf8(*m_PreviousLogDir) : std::wstring());
    const fs::path directory = PathFromUtf8(m_Directory);
    {
        std::ifstream lines(directory / "Log.txt", std::ios::binary);
        if (lines && m_Target) {
            std::ofstream(*m_Target, std::ios::binary | std::ios::app) << lines.rdbuf();
        } else if (lines) {
            std::cerr << lines.rdbuf();
        }
    }
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

} // namespace vanmoor::cli
