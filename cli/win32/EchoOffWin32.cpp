#include "../EchoOff.h"

#include <windows.h>

namespace vanmoor::cli {

EchoOff::EchoOff() {
    DWORD mode = 0;
    m_Active = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
    if (m_Active) {
        m_Saved = mode;
        SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE),
                       mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
}

EchoOff::~EchoOff() {
    if (m_Active) {
        SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), static_cast<DWORD>(m_Saved));
    }
}

} // namespace vanmoor::cli
