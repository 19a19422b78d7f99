#include "ProgramLogCapture.h"

#include "LogDirectory.h"
#include "ProgramLog.h"

namespace kestrun::test {

namespace {

constexpr const char* kLogFile = "Quillon.txt";

// Made at the first capture and kept until the test program ends, so that no later line reaches
// the user's own log.
const vanmoor::test::LogDirectory& Directory() {
    static const vanmoor::test::LogDirectory directory;
    static const bool configured = [] {
        directory.Configure("file 0");
        ProgramLog().ReadLogConfig();
        return true;
    }();
    static_cast<void>(configured);
    return directory;
}

} // namespace

ProgramLogCapture::ProgramLogCapture() {
    Directory().Clear(kLogFile);
}

std::string ProgramLogCapture::Text() const {
    return Directory().Read(kLogFile);
}

} // namespace kestrun::test
