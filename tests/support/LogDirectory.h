#pragma once

#include <string>

namespace vanmoor::test {

// A fresh temporary log directory, made current through VANMOOR_LOG_DIR for as long as the object
// lives. Write the configuration with Configure(); read and empty the log files by name.
class LogDirectory {
public:
    LogDirectory();
    ~LogDirectory();
    LogDirectory(const LogDirectory&) = delete;
    LogDirectory& operator=(const LogDirectory&) = delete;

    // Writes LogConfig.txt with exactly `text` (for example "file 0").
    void Configure(const std::string& text) const;
    // Removes LogConfig.txt.
    void Unconfigure() const;
    std::string Read(const char* fileName) const;
    void Clear(const char* fileName) const;
    const std::string& Path() const { return m_Path; }

private:
    std::string m_Path;
};

} // namespace vanmoor::test
