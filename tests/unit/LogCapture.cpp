#include "LogCapture.h"

#include "TestEnvironment.h"
#include "core/LibraryLog.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vanmoor::test {

namespace {

class LogEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        m_Directory = MakeTempDirectory("vanmoor-unit-");
        SetLogDirVariable(m_Directory.string());
        std::ofstream(m_Directory / "LogConfig.txt") << "file 0\n";
        LibraryLog().ReadLogConfig();
        ASSERT_TRUE(LibraryLog().FileSwitch());
    }
    void TearDown() override { std::filesystem::remove_all(m_Directory); }

private:
    std::filesystem::path m_Directory;
};

const auto* const g_LogEnvironment = ::testing::AddGlobalTestEnvironment(new LogEnvironment);

} // namespace

std::string TakeLibraryLog() {
    const std::string path = LibraryLog().LogFilePath();
    // Text mode, as the log is written: Windows line ends read as "\n".
    std::ifstream file(path);
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::ofstream(path, std::ios::binary | std::ios::trunc);
    return text;
}

} // namespace vanmoor::test
