#include "CliRun.h"

namespace vanmoor::cli::test {
namespace {

// A hostile name that would retitle the terminal and colour what follows.
constexpr const char* kHostileName = "\x1b]0;pwn\x07\x1b[31mX";

TEST_F(CliTest, DeviceTextInAnErrorMessageIsEscapedLikeInTheTable) {
    SimDevice device = Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 drop=1000");
    device.name = kHostileName;
    StartDevices(1, {device});

    // The device drops the command, so verification fails and names what it still answers.
    const CliResult result =
        RunProgram({"set", "02:00:5e:00:01:01", "--name", "Hall", "--wait", "1000"});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_NE(result.err.find("\\x1b]0;pwn\\x07\\x1b[31mX"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find_first_of("\x1b\x07"), std::string::npos) << result.err;
}

} // namespace
} // namespace vanmoor::cli::test
