#include "LogDirectory.h"

#include "TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vanmoor::test {

LogDirectory::LogDirectory() : m_Path(MakeTempDirectory("vanmoor-log-")) {
    SetLogDirVariable(m_Path);
}

LogDirectory::~LogDirectory() {
    SetLogDirVariable("");
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

void LogDirectory::Configure(const std::string& text) const {
    std::ofstream(m_Path + "/LogConfig.txt", std::ios::binary) << text;
}

void LogDirectory::Unconfigure() const {
    std::filesystem::remove(m_Path + "/LogConfig.txt");
}

std::string LogDirectory::Read(const char* fileName) const {
    // Text mode, as the logs are written: Windows line ends read as "\n".
    std::ifstream file(m_Path + "/" + fileName);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void LogDirectory::Clear(const char* fileName) const {
    std::ofstream(m_Path + "/" + fileName, std::ios::binary | std::ios::trunc);
}

} // namespace vanmoor::test
