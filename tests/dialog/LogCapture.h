#pragma once

#include <string>

namespace kestrun::test {

// The program's and the library's logs, switched on at the first capture for the rest of the
// test program (log switches never turn off), writing to a temporary directory that is also the
// library's. A capture empties both log files when it starts; the texts are what was logged
// since. The library reads its switches at init(), so capture before the dialog starts.
class LogCapture {
public:
    LogCapture();
    std::string ProgramText() const;
    std::string LibraryText() const;
};

} // namespace kestrun::test
