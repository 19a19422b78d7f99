#include "EchoOff.h"

#include <termios.h>
#include <unistd.h>

namespace vanmoor::cli {

namespace {

bool ReadMode(termios& mode) {
    return tcgetattr(STDIN_FILENO, &mode) == 0;
}

} // namespace

// Only the local flags change, so only they are kept.
EchoOff::EchoOff() {
    termios mode{};
    m_Active = ReadMode(mode);
    if (m_Active) {
        m_Saved = mode.c_lflag;
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
}

} // namespace vanmoor::cli
