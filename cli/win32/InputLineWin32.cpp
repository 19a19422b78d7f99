#include "../InputLine.h"

#include "WideText.h"

#include <windows.h>

#include <iostream>

namespace vanmoor::cli {

namespace {
constexpr DWORD kChunk = 256;
}

// A console delivers its input code page, which need not be UTF-8: read its UTF-16 units
// instead. A file or pipe gives its bytes as they are.
std::string ReadInputLine() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(input, &mode) == 0) {
        std::string line;
        std::getline(std::cin, line);
        return line;
    }
    std::wstring line;
    wchar_t chunk[kChunk];
    DWORD read = 0;
    while (ReadConsoleW(input, chunk, kChunk, &read, nullptr) != 0 && read > 0) {
        line.append(chunk, read);
        if (line.back() == L'\n') {
            break;
        }
    }
    while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) {
        line.pop_back();
    }
    return Utf8FromWide(line);
}

} // namespace vanmoor::cli
