#pragma once

#include "DiagnosticLog.h"

namespace kestrun {

// The program's own diagnostic log, file Quillon.txt. Messages are not even formatted while
// both outputs are off.
vanmoor::DiagnosticLog& ProgramLog() noexcept;

} // namespace kestrun
