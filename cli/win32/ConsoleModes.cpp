#include "ConsoleModes.h"

#include <cstdio>

namespace vanmoor::cli {

namespace {

bool IsConsole(HANDLE handle, DWORD& mode) {
    return GetConsoleMode(handle, &mode) != 0;
}

// Older consoles refuse virtual terminal processing; they get no escape sequences.
ConsoleModes::Output Prepare(DWORD standardHandle) {
    ConsoleModes::Output output;
    output.handle = GetStdHandle(standardHandle);
    output.isConsole = IsConsole(output.handle, output.savedMode);
    output.takesEscapes =
        output.isConsole &&
        SetConsoleMode(output.handle, output.savedMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
    return output;
}

void Restore(const ConsoleModes::Output& output) {
    if (output.isConsole) {
        SetConsoleMode(output.handle, output.savedMode);
    }
}

} // namespace

ConsoleModes::ConsoleModes() : m_Out(Prepare(STD_OUTPUT_HANDLE)), m_Err(Prepare(STD_ERROR_HANDLE)) {
    DWORD inputMode = 0;
    m_InIsConsole = IsConsole(GetStdHandle(STD_INPUT_HANDLE), inputMode);
    if (m_Out.isConsole || m_Err.isConsole) {
        m_SavedCodePage = GetConsoleOutputCP();
        SetConsoleOutputCP(CP_UTF8);
    }
}

ConsoleModes::~ConsoleModes() {
    if (m_SavedCodePage != 0) {
        SetConsoleOutputCP(m_SavedCodePage);
    }
    Restore(m_Err);
    Restore(m_Out);
}

Console ConsoleModes::Streams(std::ostream& out, std::ostream& err) const {
    return {out,
            err,
            m_Out.isConsole,
            m_Err.isConsole,
            m_InIsConsole,
            _fileno(stdout),
            m_Err.takesEscapes};
}

} // namespace vanmoor::cli
