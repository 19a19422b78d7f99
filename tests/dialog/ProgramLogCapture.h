#pragma once

#include <string>

namespace kestrun::test {

// The program's log, switched on at the first capture for the rest of the test program (log
// switches never turn off), writing to a temporary directory. A capture empties the log file when
// it starts; Text() is what was logged since.
class ProgramLogCapture {
public:
    ProgramLogCapture();
    std::string Text() const;
};

} // namespace kestrun::test
