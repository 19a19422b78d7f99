#include "../Interrupt.h"

#include <windows.h>

#include <atomic>

namespace vanmoor::cli {

namespace {

std::atomic<bool> g_StopRequested{false};

// Ctrl-C, Ctrl-Break and closing the console ask the running command to stop; the process ends
// when the command has cleaned up.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        g_StopRequested.store(true);
        return TRUE;
    }
    return FALSE;
}

} // namespace

InterruptCatcher::InterruptCatcher() {
    g_StopRequested.store(false);
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

InterruptCatcher::~InterruptCatcher() {
    SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
}

bool InterruptCatcher::StopRequested() {
    return g_StopRequested.load();
}

} // namespace vanmoor::cli
