#pragma once

#include <string>

namespace kestrun::test {

// The program's log, switched on for the whole test program (log switches never turn off) and
// writing to a temporary directory. A capture empties the log file when it starts; Text() is
// what was logged since.
class ProgramLogCapture {
public:
    ProgramLogCapture();
    std::string Text() const;
};

} // namespace kestrun::test
