#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vanmoor::test {

// A program running in lan `lan` (1 or 2) of the test network, its standard output read through
// a pipe. Killed when the object goes, unless it was terminated before.
class ProgramInLan {
public:
    // Throws std::runtime_error when the program cannot be started.
    ProgramInLan(int lan, const std::string& program, std::vector<std::string> arguments);
    ~ProgramInLan();
    ProgramInLan(const ProgramInLan&) = delete;
    ProgramInLan& operator=(const ProgramInLan&) = delete;

    // The next line of standard output, or "" when none came within `patience`.
    std::string ReadLine(std::chrono::milliseconds patience);
    // Sends SIGTERM and returns the exit status (128 + the signal when a signal ended it).
    int Terminate();

private:
    pid_t m_Pid = -1;
    int m_Output = -1;
};

} // namespace vanmoor::test
