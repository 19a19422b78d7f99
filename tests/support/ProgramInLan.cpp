#include "ProgramInLan.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vanmoor::test {

ProgramInLan::ProgramInLan(int lan, const std::string& program,
                           std::vector<std::string> arguments) {
    const char* inLan = std::getenv("VANMOOR_TESTNET_IN_LAN");
    if (inLan == nullptr) {
        throw std::runtime_error("not inside the test network");
    }
    arguments.insert(arguments.begin(), {inLan, std::to_string(lan), program});
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    const int failed = posix_spawn(&m_Pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    m_Output = pipeEnds[0];
    if (failed != 0) {
        close(m_Output);
        throw std::runtime_error("cannot start " + program);
    }
}

ProgramInLan::~ProgramInLan() {
    if (m_Pid > 0) {
        kill(m_Pid, SIGKILL);
        waitpid(m_Pid, nullptr, 0);
    }
    close(m_Output);
}

std::string ProgramInLan::ReadLine(std::chrono::milliseconds patience) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    char c = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd watched{m_Output, POLLIN, 0};
        if (poll(&watched, 1, 100) > 0) {
            if (read(m_Output, &c, 1) != 1 || c == '\n') {
                break;
            }
            line += c;
        }
    }
    return line;
}

int ProgramInLan::Terminate() {
    kill(m_Pid, SIGTERM);
    int status = 0;
    waitpid(m_Pid, &status, 0);
    m_Pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace vanmoor::test
