#include "LogDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vanmoor::test {

LogDirectory::LogDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vanmoor-log-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary log directory");
    }
    m_Path = pattern;
    setenv("VANMOOR_LOG_DIR", m_Path.c_str(), 1);
}

LogDirectory::~LogDirectory() {
    unsetenv("VANMOOR_LOG_DIR");
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
    std::ifstream file(m_Path + "/" + fileName, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void LogDirectory::Clear(const char* fileName) const {
    std::ofstream(m_Path + "/" + fileName, std::ios::binary | std::ios::trunc);
}

} // namespace vanmoor::test
