#include "Interrupt.h"

#include <atomic>
#include <csignal>

namespace vanmoor::cli {

namespace {

std::atomic<bool> g_StopRequested{false};
struct sigaction g_PreviousInterrupt {};
struct sigaction g_PreviousTerminate {};
struct sigaction g_PreviousHangUp {};

void OnSignal(int) {
    g_StopRequested.store(true);
}

} // namespace

InterruptCatcher::InterruptCatcher() {
    g_StopRequested.store(false);
    struct sigaction action {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &g_PreviousInterrupt);
    sigaction(SIGTERM, &action, &g_PreviousTerminate);
    sigaction(SIGHUP, &action, &g_PreviousHangUp);
}

InterruptCatcher::~InterruptCatcher() {
    sigaction(SIGINT, &g_PreviousInterrupt, nullptr);
    sigaction(SIGTERM, &g_PreviousTerminate, nullptr);
    sigaction(SIGHUP, &g_PreviousHangUp, nullptr);
}

bool InterruptCatcher::StopRequested() {
    return g_StopRequested.load();
}

} // namespace vanmoor::cli
