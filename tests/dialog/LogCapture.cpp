#include "LogCapture.h"

#include "LogDirectory.h"
#include "ProgramLog.h"

namespace kestrun::test {

namespace {

constexpr const char* kProgramLogFile = "Quillon.txt";
constexpr const char* kLibraryLogFile = "Log.txt";

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

LogCapture::LogCapture() {
    Directory().Clear(kProgramLogFile);
    Directory().Clear(kLibraryLogFile);
}

std::string LogCapture::ProgramText() const {
    return Directory().Read(kProgramLogFile);
}

std::string LogCapture::LibraryText() const {
    return Directory().Read(kLibraryLogFile);
}

} // namespace kestrun::test
