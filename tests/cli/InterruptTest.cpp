#include "CliRun.h"

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vanmoor::cli::test {
namespace {

// Ctrl-C ends `watch` cleanly: exit status 0 and a complete JSON document. The built program
// runs as a child, since the signal goes to a whole process.
TEST_F(CliTest, CtrlCEndsWatchWithACompleteDocument) {
    StartDevices(1, {Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 name=Camera")});
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<std::string> words = {VANMOOR_PROGRAM, "watch", "--output",   "json",
                                      "--wait",        "1000",  "--interval", "0"};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, VANMOOR_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);

    // Once the first event is out, the watch is in its loop.
    std::string out;
    char buffer[4096];
    while (out.find("\"new\"") == std::string::npos) {
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        ASSERT_GT(got, 0) << "the watch ended before its first event: " << out;
        out.append(buffer, static_cast<std::size_t>(got));
    }
    kill(child, SIGINT);
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal, not by itself";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const nlohmann::json document = nlohmann::json::parse(out);
    EXPECT_EQ(document.at("events").at(0).at("mac"), "02:00:5e:00:01:01");
}

} // namespace
} // namespace vanmoor::cli::test
