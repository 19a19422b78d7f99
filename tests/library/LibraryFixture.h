#pragma once

#include "LogDirectory.h"
#include "vanmoor.h"

#include <gtest/gtest.h>
#include <string>

namespace vanmoor::test {

// Tests of the exports, as a client sees them. The library's log goes to a temporary directory
// for the whole program (its switches, once on, stay on); each test starts with an empty log and
// without a manager.
class LibraryTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (s_Logs == nullptr) {
            s_Logs = new LogDirectory;
            s_Logs->Configure("file 0");
            init();
            deinit();
        }
    }
    void SetUp() override {
        s_Logs->Configure("file 0");
        s_Logs->Clear("Log.txt");
    }
    void TearDown() override { deinit(); }

    static std::string Log() { return s_Logs->Read("Log.txt"); }
    static void ClearLog() { s_Logs->Clear("Log.txt"); }
    static const LogDirectory& Logs() { return *s_Logs; }

private:
    static inline LogDirectory* s_Logs = nullptr;
};

} // namespace vanmoor::test
