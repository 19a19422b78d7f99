#include "ChildProgram.h"

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vanmoor::cli::test {

namespace {

// One read into `text`; false at the end of the stream.
bool ReadSome(int pipe, std::string& text) {
    char buffer[4096];
    const ssize_t got = pipe < 0 ? 0 : read(pipe, buffer, sizeof buffer);
    if (got <= 0) {
        return false;
    }
    text.append(buffer, static_cast<std::size_t>(got));
    return true;
}

void Close(int& descriptor) {
    if (descriptor >= 0) {
        close(descriptor);
        descriptor = -1;
    }
}

} // namespace

ChildProgram::ChildProgram(const std::vector<std::string>& arguments, int input) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        throw std::runtime_error("no pipe for the child program");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) {
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    }
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    // The signals act as for a program started from a terminal, even when this test runs in
    // the background with some of them ignored.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    std::vector<std::string> words = {VANMOOR_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int failed =
        posix_spawn(&m_Pid, VANMOOR_PROGRAM, &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(out[1]);
    close(err[1]);
    m_OutPipe = out[0];
    m_ErrPipe = err[0];
    if (failed != 0) {
        Close(m_OutPipe);
        Close(m_ErrPipe);
        throw std::runtime_error("the program could not be started");
    }
}

ChildProgram::~ChildProgram() {
    if (m_Pid > 0) {
        kill(m_Pid, SIGKILL);
        waitpid(m_Pid, nullptr, 0);
    }
    Close(m_OutPipe);
    Close(m_ErrPipe);
}

bool ChildProgram::ReadWhile(const std::function<bool()>& waiting) {
    while (waiting()) {
        if (m_OutPipe < 0 && m_ErrPipe < 0) {
            return false;
        }
        // poll skips a closed stream's -1.
        pollfd streams[2] = {{m_OutPipe, POLLIN, 0}, {m_ErrPipe, POLLIN, 0}};
        if (poll(streams, 2, -1) < 0) {
            return false;
        }
        if (streams[0].revents != 0 && !ReadSome(m_OutPipe, m_Out)) {
            Close(m_OutPipe);
        }
        if (streams[1].revents != 0 && !ReadSome(m_ErrPipe, m_Err)) {
            Close(m_ErrPipe);
        }
    }
    return true;
}

bool ChildProgram::ReadOutUntil(const std::string& text, const std::string& failure) {
    const auto has = [](const std::string& all, const std::string& part) {
        return !part.empty() && all.find(part) != std::string::npos;
    };
    return ReadWhile([&] { return !has(m_Out, text) && !has(m_Err, failure); }) && has(m_Out, text);
}

bool ChildProgram::ReadErrUntil(const std::string& text) {
    return ReadWhile([&] { return m_Err.find(text) == std::string::npos; });
}

void ChildProgram::CloseOut() {
    Close(m_OutPipe);
}

void ChildProgram::Signal(int signal) const {
    kill(m_Pid, signal);
}

int ChildProgram::Wait() {
    while (ReadSome(m_OutPipe, m_Out)) {
    }
    while (ReadSome(m_ErrPipe, m_Err)) {
    }
    int status = 0;
    waitpid(m_Pid, &status, 0);
    m_Pid = -1;
    return status;
}

} // namespace vanmoor::cli::test
