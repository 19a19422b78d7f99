#pragma once

#include <gtest/gtest.h>

#include <string>

namespace vanmoor::test {

// For the whole test program the library log goes to Log.txt in a temporary directory (its
// switches only ever turn on). Returns what was logged since the last call and empties the file.
std::string TakeLibraryLog();

// Starts every test with an empty log.
class LoggedTest : public ::testing::Test {
protected:
    void SetUp() override { TakeLibraryLog(); }
};

} // namespace vanmoor::test
