#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kestrun::test {

// A fresh directory that is removed with everything in it at the end of its scope.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }
    void WriteFile(const std::string& name, const std::string& bytes) const;
    // The file's bytes, empty when it does not exist.
    std::string ReadFile(const std::string& name) const;

private:
    std::filesystem::path m_Path;
};

// Makes the program's log write its lines to Quillon.txt in a directory of its own while it
// lives. Log switches only ever turn on, so the log stays on afterwards.
class ProgramLogCapture {
public:
    ProgramLogCapture();
    ~ProgramLogCapture();
    std::string Text() const { return m_Directory.ReadFile("Quillon.txt"); }

private:
    TempDirectory m_Directory;
    std::optional<std::string> m_PreviousDirectory;
};

} // namespace kestrun::test
