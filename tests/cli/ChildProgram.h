#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vanmoor::cli::test {

// The built program run as a child process, for what needs a whole process: signals, a terminal
// on standard input, an output whose reader goes away. Standard output and error are pipes read
// here. The destructor kills a child still running and reaps it.
class ChildProgram {
public:
    // Runs `vanmoor ARGUMENTS...`; standard input is `input` when it is not -1.
    explicit ChildProgram(const std::vector<std::string>& arguments, int input = -1);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    // Reads both streams until the output so far holds `text`; false when the streams ended
    // first, or when the error output came to hold `failure` (unless empty) first.
    bool ReadOutUntil(const std::string& text, const std::string& failure = "");
    // Reads both streams until the error output so far holds `text`; false when they ended.
    bool ReadErrUntil(const std::string& text);
    // Closes this end of the output pipe: the child's reader is gone.
    void CloseOut();
    void Signal(int signal) const;
    // Reads what is left of both streams and waits for the end; the wait status.
    int Wait();

    const std::string& Out() const { return m_Out; }
    const std::string& Err() const { return m_Err; }

private:
    // Reads whichever stream has something for as long as `waiting` holds; false when both
    // streams ended first.
    bool ReadWhile(const std::function<bool()>& waiting);

    pid_t m_Pid = -1;
    int m_OutPipe = -1;
    int m_ErrPipe = -1;
    std::string m_Out;
    std::string m_Err;
};

} // namespace vanmoor::cli::test
