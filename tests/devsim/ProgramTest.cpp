#include "LibraryDatagrams.h"
#include "SimulatorInLan.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vanmoor::devsim::test {
namespace {

// The program running in lan 1, its standard output read through a pipe.
class ProgramInLan1 {
public:
    explicit ProgramInLan1(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(),
                         {std::getenv("VANMOOR_TESTNET_IN_LAN"), "1", VANMOOR_DEVSIM_PROGRAM});
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        const int failed = posix_spawn(&m_Pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        m_Output = pipeEnds[0];
        if (failed != 0) {
            throw std::runtime_error("cannot start the simulator program");
        }
    }

    ~ProgramInLan1() {
        if (m_Pid > 0) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
        close(m_Output);
    }

    // The first line of standard output, or "" when none came before the deadline.
    std::string FirstLine() {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
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

    // Sends SIGTERM and returns the exit status.
    int Terminate() {
        kill(m_Pid, SIGTERM);
        int status = 0;
        waitpid(m_Pid, &status, 0);
        m_Pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t m_Pid = -1;
    int m_Output = -1;
};

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(DevsimProgram, AnswersObeysCapturesAndEndsOnSigterm) {
    char directory[] = "/tmp/devsim-program-XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    const std::string config = std::string(directory) + "/devices.conf";
    const std::string capture = std::string(directory) + "/capture.txt";
    std::ofstream(config) << "# one camera\n"
                             "mac=02:00:5e:00:02:01 ip=192.0.2.20 name=\"Lobby cam\" port=8080\n";
    ProgramInLan1 program({"--config", config, "--capture", capture, "--ready", "--verbose"});
    ASSERT_EQ(program.FirstLine().rfind("vanmoor-devsim ready", 0), 0u);
    auto probe = ProbeOnLan1(4022);

    probe->Broadcast(SearchRequest4022(), 4022);
    std::vector<Arrival> replies = probe->Receive(1, kPatience);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Field(replies[0].bytes, 32, 18), Padded("Lobby cam", 18));
    EXPECT_EQ(Field(replies[0].bytes, 50, 5), Padded("8080", 5));

    Command4022 rename;
    rename.mac = {0x02, 0x00, 0x5e, 0x00, 0x02, 0x01};
    rename.ip = {192, 0, 2, 20};
    rename.netmask = {255, 255, 255, 0};
    rename.name = "Hall cam";
    probe->Broadcast(SettingsCommand4022(rename), 4022);
    probe->Broadcast(SearchRequest4022(), 4022);
    replies = probe->Receive(1, kPatience);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Field(replies[0].bytes, 32, 18), Padded("Hall cam", 18));

    EXPECT_EQ(program.Terminate(), 0);
    const std::vector<std::string> lines = ReadLines(capture);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(" 192.0.2.1:4022 > 4022 search 72 50434564697402"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find(" command 74 "), std::string::npos) << lines[1];
    std::remove(capture.c_str());
    std::remove(config.c_str());
    rmdir(directory);
}

} // namespace
} // namespace vanmoor::devsim::test
