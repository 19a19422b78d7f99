#pragma once

#include <filesystem>
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

private:
    std::filesystem::path m_Path;
};

} // namespace kestrun::test
