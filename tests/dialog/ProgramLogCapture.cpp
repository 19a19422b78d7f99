#include "ProgramLogCapture.h"

#include "LogDirectory.h"
#include "ProgramLog.h"

#include <gtest/gtest.h>

#include <memory>

namespace kestrun::test {

namespace {

constexpr const char* kLogFile = "Quillon.txt";

// One log directory for the whole run, so that no test's lines reach the user's own log.
class ProgramLogEnvironment : public testing::Environment {
public:
    void SetUp() override {
        m_Directory = std::make_unique<vanmoor::test::LogDirectory>();
        m_Directory->Configure("file 0");
        ProgramLog().ReadLogConfig();
    }
    void TearDown() override { m_Directory.reset(); }

    const vanmoor::test::LogDirectory& Directory() const { return *m_Directory; }

private:
    std::unique_ptr<vanmoor::test::LogDirectory> m_Directory;
};

ProgramLogEnvironment* const g_Environment = static_cast<ProgramLogEnvironment*>(
    testing::AddGlobalTestEnvironment(new ProgramLogEnvironment));

} // namespace

ProgramLogCapture::ProgramLogCapture() {
    g_Environment->Directory().Clear(kLogFile);
}

std::string ProgramLogCapture::Text() const {
    return g_Environment->Directory().Read(kLogFile);
}

} // namespace kestrun::test
