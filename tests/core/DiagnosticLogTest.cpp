// The diagnostic log writer: configuration word and number, outputs, line format.
#include "DiagnosticLog.h"
#include "LogDirectory.h"

#include <gtest/gtest.h>
#include <regex>

namespace vanmoor {
namespace {

class DiagnosticLogTest : public testing::Test {
protected:
    test::LogDirectory dir;
    DiagnosticLog library{"Log.txt"};
    DiagnosticLog program{"Quillon.txt"};
};

const std::regex kTimePrefix(R"(\d\d:\d\d:\d\d\.\d\d\d  )");

TEST_F(DiagnosticLogTest, FileWithTimesPrefixesEveryLineWithTheTimeAndTwoSpaces) {
    dir.Configure("file 1");
    library.ReadLogConfig();
    library.WriteLog("first %d\n", 1);
    library.WriteLog("second\n");

    const std::string text = dir.Read("Log.txt");
    const std::regex lines(
        R"((\d\d:\d\d:\d\d\.\d\d\d  )first 1\n(\d\d:\d\d:\d\d\.\d\d\d  )second\n)");
    EXPECT_TRUE(std::regex_match(text, lines)) << text;
}

TEST_F(DiagnosticLogTest, WindowWithTimesPrintsTheTimeAndFourSpacesOnStandardOutput) {
    dir.Configure("window 1");
    library.ReadLogConfig();
    testing::internal::CaptureStdout();
    library.WriteLog("hello %s\n", "console");
    const std::string shown = testing::internal::GetCapturedStdout();

    EXPECT_TRUE(std::regex_match(shown, std::regex(R"(\d\d:\d\d:\d\d\.\d\d\d    hello console\n)")))
        << shown;
    EXPECT_EQ(dir.Read("Log.txt"), "");
}

TEST_F(DiagnosticLogTest, SwitchesOnlyTurnOnAndTheFileWinsOverTheWindow) {
    dir.Configure("window 0");
    library.ReadLogConfig();
    dir.Configure("file 0");
    library.ReadLogConfig();
    EXPECT_TRUE(library.WindowSwitch());
    EXPECT_TRUE(library.FileSwitch());

    testing::internal::CaptureStdout();
    library.WriteLog("only in the file\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(dir.Read("Log.txt"), "only in the file\n");
}

TEST_F(DiagnosticLogTest, AWordWithoutNumberKeepsTheTimeSwitch) {
    dir.Configure("file");
    library.ReadLogConfig();
    library.WriteLog("no time\n");
    EXPECT_EQ(dir.Read("Log.txt"), "no time\n");

    dir.Configure("file 7");
    library.ReadLogConfig();
    dir.Configure("file");
    library.ReadLogConfig();
    EXPECT_TRUE(library.TimeSwitch()) << "the time switch follows only a number that was read";

    dir.Configure("windows 0");
    library.ReadLogConfig();
    EXPECT_TRUE(library.WindowSwitch()) << "a longer word starting with window counts";
    EXPECT_FALSE(library.TimeSwitch());
}

TEST_F(DiagnosticLogTest, WithoutConfigurationNothingIsWritten) {
    library.ReadLogConfig();
    program.ReadLogConfig();
    testing::internal::CaptureStdout();
    library.WriteLog("nowhere\n");
    program.WriteLog("nowhere\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(dir.Read("Log.txt"), "");
    EXPECT_EQ(dir.Read("Quillon.txt"), "");
}

TEST_F(DiagnosticLogTest, UnknownOrOverlongWordsTurnNothingOn) {
    dir.Configure("verbose 1");
    library.ReadLogConfig();
    EXPECT_FALSE(library.FileSwitch());
    EXPECT_FALSE(library.WindowSwitch());
    EXPECT_TRUE(library.TimeSwitch());

    // Read bounded: the first 15 characters form the word; the rest is no number.
    dir.Configure(std::string("file") + std::string(400, 'x') + " 0");
    library.ReadLogConfig();
    EXPECT_TRUE(library.FileSwitch());
    EXPECT_TRUE(library.TimeSwitch());
}

TEST_F(DiagnosticLogTest, TheMessageIsWrittenAsTextNeverFormattedTwice) {
    dir.Configure("file 0");
    library.ReadLogConfig();
    library.WriteLog("name %s\n", "50%d %s %n");
    EXPECT_EQ(dir.Read("Log.txt"), "name 50%d %s %n\n");
}

TEST_F(DiagnosticLogTest, AMessageLongerThanItsBufferIsCut) {
    dir.Configure("file 0");
    library.ReadLogConfig();
    library.WriteLog("%s", std::string(10000, 'y').c_str());
    EXPECT_EQ(dir.Read("Log.txt"), std::string(DiagnosticLog::kMessageBufferSize - 1, 'y'));
}

TEST_F(DiagnosticLogTest, EachDeliverableWritesItsOwnFile) {
    dir.Configure("file 1");
    library.ReadLogConfig();
    program.ReadLogConfig();
    library.WriteLog("from the library\n");
    program.WriteLog("from the program\n");

    const std::string libraryText = dir.Read("Log.txt");
    const std::string programText = dir.Read("Quillon.txt");
    EXPECT_TRUE(std::regex_search(libraryText, kTimePrefix));
    EXPECT_NE(libraryText.find("from the library\n"), std::string::npos);
    EXPECT_EQ(libraryText.find("from the program"), std::string::npos);
    EXPECT_NE(programText.find("from the program\n"), std::string::npos);
    EXPECT_EQ(programText.find("from the library"), std::string::npos);
}

} // namespace
} // namespace vanmoor
