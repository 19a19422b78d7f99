#pragma once

#include "DiagnosticLog.h"

namespace vanmoor {

// The library's own log: file Log.txt.
DiagnosticLog& LibraryLog() noexcept;

// Writes one line through the library's log.
void WriteLog(const char* format, ...) noexcept __attribute__((format(gnu_printf, 1, 2)));

} // namespace vanmoor
