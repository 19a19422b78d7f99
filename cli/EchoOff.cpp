#include "EchoOff.h"

#include <csignal>
#include <iterator>
#include <termios.h>
#include <unistd.h>

namespace vanmoor::cli {

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The terminal's mode before echo went off, and the handlers it replaced, for the signal
// handler; only one prompt runs at a time.
termios g_EchoingMode{};
struct sigaction g_Previous[std::size(kEndingSignals)]{};

bool ReadMode(termios& mode) {
    return tcgetattr(STDIN_FILENO, &mode) == 0;
}

void RestorePreviousHandlers() {
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
        sigaction(kEndingSignals[i], &g_Previous[i], nullptr);
    }
}

// Ctrl-C at the prompt must not leave the terminal without echo: restore it, then let the
// signal do what it would have done without the prompt (usually end the process).
void OnEndingSignal(int signal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &g_EchoingMode);
    RestorePreviousHandlers();
    raise(signal);
}

// A signal that the process ignores stays ignored: it must not turn the echo on mid-prompt.
void CatchEndingSignals() {
    struct sigaction action {};
    action.sa_handler = &OnEndingSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
        sigaction(kEndingSignals[i], nullptr, &g_Previous[i]);
        if (g_Previous[i].sa_handler != SIG_IGN) {
            sigaction(kEndingSignals[i], &action, nullptr);
        }
    }
}

} // namespace

// Only the local flags change, so only they are kept.
EchoOff::EchoOff() {
    termios mode{};
    m_Active = ReadMode(mode);
    if (m_Active) {
        m_Saved = mode.c_lflag;
        g_EchoingMode = mode;
        CatchEndingSignals();
        mode.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &mode);
    }
}

EchoOff::~EchoOff() {
    termios mode{};
    if (m_Active && ReadMode(mode)) {
        mode.c_lflag = static_cast<tcflag_t>(m_Saved);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &mode);
    }
    if (m_Active) {
        RestorePreviousHandlers();
    }
}

} // namespace vanmoor::cli
