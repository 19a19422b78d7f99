#include "ProgressLine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace vanmoor::cli {
namespace {

// What a console that takes no escape sequences leaves on the line: a carriage return goes
// back to the start, every other byte is shown and overwrites.
std::string VisibleLine(const std::string& written) {
    std::string line;
    std::size_t column = 0;
    for (const char byte : written) {
        if (byte == '\r') {
            column = 0;
            continue;
        }
        if (column < line.size()) {
            line[column] = byte;
        } else {
            line.push_back(byte);
        }
        ++column;
    }
    return line;
}

TEST(ProgressLineTest, WipesWithBlanksWhereTheConsoleTakesNoEscapes) {
    std::ostringstream err;
    {
        const ProgressLine progress(err, true, false, "searching", 1500);
        // Long enough for a few redraws; the checks hold for any number of them.
        std::this_thread::sleep_for(std::chrono::milliseconds(350));
    }
    const std::string written = err.str();
    EXPECT_EQ(written.find('\033'), std::string::npos) << written;
    EXPECT_EQ(VisibleLine(written).find_first_not_of(' '), std::string::npos) << written;
}

} // namespace
} // namespace vanmoor::cli
