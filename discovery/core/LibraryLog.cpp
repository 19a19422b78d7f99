#include "LibraryLog.h"

namespace vanmoor {

namespace {
// Constant-initialised: nothing runs when the library is loaded.
constinit DiagnosticLog g_LibraryLog{"Log.txt"};
} // namespace

DiagnosticLog& LibraryLog() noexcept {
    return g_LibraryLog;
}

void WriteLog(const char* format, ...) noexcept {
    va_list args;
    va_start(args, format);
    g_LibraryLog.WriteLogV(format, args);
    va_end(args);
}

} // namespace vanmoor
