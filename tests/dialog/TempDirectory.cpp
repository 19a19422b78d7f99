#include "TempDirectory.h"

#include "ProgramLog.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kestrun::test {

TempDirectory::TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrun-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_Path = pattern;
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

void TempDirectory::WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(m_Path / name, std::ios::binary) << bytes;
}

std::string TempDirectory::ReadFile(const std::string& name) const {
    std::ifstream file(m_Path / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

ProgramLogCapture::ProgramLogCapture() {
    if (const char* previous = std::getenv("VANMOOR_LOG_DIR")) {
        m_PreviousDirectory = previous;
    }
    m_Directory.WriteFile("LogConfig.txt", "file 0\n");
    setenv("VANMOOR_LOG_DIR", m_Directory.Path().c_str(), 1);
    ProgramLog().ReadLogConfig();
}

ProgramLogCapture::~ProgramLogCapture() {
    // Without a directory set before, the variable keeps naming the removed one, so that later
    // lines are dropped instead of reaching the user's own log.
    if (m_PreviousDirectory) {
        setenv("VANMOOR_LOG_DIR", m_PreviousDirectory->c_str(), 1);
    }
}

} // namespace kestrun::test
