#include "../Interrupt.h"

#include "SessionEnd.h"

#include <windows.h>

#include <atomic>

namespace vanmoor::cli {

namespace {

// Windows waits 5 s for a closing console's handler before it ends the process itself.
constexpr DWORD kRunFinishTimeoutMs = 4000;

std::atomic<bool> g_Catching{false};      // an InterruptCatcher lives
std::atomic<bool> g_StopRequested{false}; // Ctrl-C or Ctrl-Break while one lives
std::atomic<bool> g_RunGuarded{false};    // a SessionEndWait lives
std::atomic<bool> g_SessionEnding{false}; // the console closes, log-off or shut-down

// Set when the run is over. Never closed: a handler may still wait on it as the process ends.
HANDLE RunFinished() {
    static const HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return finished;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        if (!g_Catching.load()) {
            return FALSE; // the default handler ends the process
        }
        g_StopRequested.store(true);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        g_SessionEnding.store(true);
        if (!g_RunGuarded.load()) {
            return FALSE;
        }
        WaitForSingleObject(RunFinished(), kRunFinishTimeoutMs);
        return TRUE;
    default:
        return FALSE;
    }
}

// Installed once and never removed: the system holds the console's handler lock while a
// handler runs, so removing one from the main thread during a wait would stall both.
void InstallHandler() {
    [[maybe_unused]] static const bool installed = SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

} // namespace

InterruptCatcher::InterruptCatcher() {
    g_StopRequested.store(false);
    g_Catching.store(true);
    InstallHandler();
}

InterruptCatcher::~InterruptCatcher() {
    g_Catching.store(false);
}

bool InterruptCatcher::StopRequested() {
    return g_StopRequested.load() || g_SessionEnding.load();
}

SessionEndWait::SessionEndWait() {
    RunFinished();
    g_RunGuarded.store(true);
    InstallHandler();
}

SessionEndWait::~SessionEndWait() {
    SetEvent(RunFinished());
}

} // namespace vanmoor::cli
