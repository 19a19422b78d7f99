#pragma once

#include "../Console.h"

#include <windows.h>

namespace vanmoor::cli {

// For as long as it lives, a console the program writes to shows its UTF-8 output as UTF-8 and
// acts on escape sequences where it can. Both are put back at the end: the console is shared
// with the shell that started the program. Tells which standard handles are consoles.
class ConsoleModes {
public:
    ConsoleModes();
    ~ConsoleModes();
    ConsoleModes(const ConsoleModes&) = delete;
    ConsoleModes& operator=(const ConsoleModes&) = delete;

    Console Streams(std::ostream& out, std::ostream& err) const;

    // One standard output handle and what was done to it.
    struct Output {
        HANDLE handle = nullptr;
        DWORD savedMode = 0;
        bool isConsole = false;
        bool takesEscapes = false;
    };

private:
    Output m_Out;
    Output m_Err;
    bool m_InIsConsole = false;
    UINT m_SavedCodePage = 0; // 0: left as it was
};

} // namespace vanmoor::cli
