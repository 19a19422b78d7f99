#include "ChildProgram.h"
#include "CliRun.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace vanmoor::cli::test {
namespace {

// The built program runs as a child, since a signal goes to a whole process.
class InterruptTest : public CliTest {
protected:
    void SetUp() override {
        StartDevices(1, {Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 name=Camera"),
                         Device("protocol=32970 mac=02:00:5e:00:01:02 ip=192.0.2.11 name=Lobby "
                                "user=admin password=secret")});
    }

    // `signal` ends a JSON watch cleanly: exit status 0 and a complete document.
    static void ExpectCompleteDocumentAfter(int signal) {
        ChildProgram watch({"watch", "--output", "json", "--wait", "1000", "--interval", "0"});
        // Once the first event is out, the watch is in its loop.
        ASSERT_TRUE(watch.ReadOutUntil("\"new\"")) << watch.Out() << watch.Err();
        watch.Signal(signal);
        const int status = watch.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal, not by itself";
        EXPECT_EQ(WEXITSTATUS(status), 0);
        const nlohmann::json document = nlohmann::json::parse(watch.Out());
        const nlohmann::json& events = document.at("events");
        EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const nlohmann::json& event) {
            return event.at("mac") == "02:00:5e:00:01:01";
        })) << watch.Out();
    }
};

TEST_F(InterruptTest, CtrlCEndsWatchWithACompleteDocument) {
    ExpectCompleteDocumentAfter(SIGINT);
}

TEST_F(InterruptTest, HangUpEndsWatchWithACompleteDocument) {
    ExpectCompleteDocumentAfter(SIGHUP);
}

// `vanmoor watch | head -1`: nothing changes, so nothing is written that could fail; the watch
// must notice by itself that nobody reads.
TEST_F(InterruptTest, WatchEndsWhenItsOutputIsClosed) {
    ChildProgram watch({"watch", "--output", "jsonl", "--wait", "500", "--interval", "0"});
    ASSERT_TRUE(watch.ReadOutUntil("\"new\"")) << watch.Err();
    watch.CloseOut();
    // Ending at all is the point: by itself, or by SIGPIPE when an event came after the close.
    const int status = watch.Wait();
    EXPECT_TRUE((WIFEXITED(status) && WEXITSTATUS(status) == 0) ||
                (WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE))
        << watch.Err();
}

TEST_F(InterruptTest, CtrlCAtThePasswordPromptTurnsTheEchoBackOn) {
    unsetenv("VANMOOR_PASSWORD");
    int terminal = -1;
    int input = -1;
    ASSERT_EQ(openpty(&terminal, &input, nullptr, nullptr, nullptr), 0);
    termios mode{};
    ASSERT_EQ(tcgetattr(input, &mode), 0);
    ASSERT_NE(mode.c_lflag & ECHO, 0u);
    {
        ChildProgram set(
            {"set", "02:00:5e:00:01:02", "--port", "81", "--user", "admin", "--wait", "1000"},
            input);
        ASSERT_TRUE(set.ReadErrUntil("Password for admin")) << set.Err();
        // The prompt comes first, then the echo goes off.
        while (tcgetattr(input, &mode) == 0 && (mode.c_lflag & ECHO) != 0) {
            usleep(10'000);
        }
        set.Signal(SIGINT);
        const int status = set.Wait();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT)
            << "Ctrl-C still ends the command";
    }
    ASSERT_EQ(tcgetattr(input, &mode), 0);
    EXPECT_NE(mode.c_lflag & ECHO, 0u) << "the terminal was left without echo";
    close(input);
    close(terminal);
}

} // namespace
} // namespace vanmoor::cli::test
