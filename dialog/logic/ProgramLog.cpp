#include "ProgramLog.h"

namespace kestrun {

namespace {
constinit vanmoor::DiagnosticLog g_ProgramLog{"Quillon.txt"};
} // namespace

vanmoor::DiagnosticLog& ProgramLog() noexcept {
    return g_ProgramLog;
}

} // namespace kestrun
