#include "CliRun.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace vanmoor::cli::test {
namespace {

constexpr const char* kAuthMac = "02:00:5e:00:01:02";

class CredentialsTest : public CliTest {
protected:
    void SetUp() override {
        unsetenv("VANMOOR_PASSWORD");
        simulator = &StartDevices(1, {Device("protocol=32970 mac=02:00:5e:00:01:02 "
                                             "ip=192.0.2.11 port=80 user=admin password=")});
    }
    void TearDown() override { unsetenv("VANMOOR_PASSWORD"); }

    std::string WriteFile(const std::string& name, const std::string& text) {
        const std::string path = logs.Path() + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    Simulator* simulator = nullptr;
};

TEST_F(CredentialsTest, AnEmptyPasswordFileIsRefusedUnlessAnEmptyPasswordIsAskedFor) {
    for (const std::string& text : {std::string(), std::string("\n"), std::string("\r\n")}) {
        const CliResult refused =
            RunProgram({"set", kAuthMac, "--port", "81", "--user", "admin", "--password-file",
                        WriteFile("empty", text), "--wait", "1000"});
        EXPECT_EQ(refused.status, 2) << refused.err;
        EXPECT_NE(refused.err.find("--allow-empty-password"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(CommandsReceived(*simulator), 0u);

    const CliResult allowed =
        RunProgram({"set", kAuthMac, "--port", "81", "--user", "admin", "--password-file",
                    "/dev/null", "--allow-empty-password", "--wait", "1000"});
    ASSERT_EQ(allowed.status, 0) << allowed.err;
    EXPECT_EQ(simulator->Device(0).webPort, 81);
}

// The browser and whatever it starts get the environment, but not the device password.
TEST_F(CredentialsTest, OpenStartsTheBrowserWithoutThePasswordInItsEnvironment) {
    const std::string seen = logs.Path() + "/browser-environment";
    const std::string opener = WriteFile("xdg-open", "#!/bin/sh\nenv > '" + seen + "'\n");
    ASSERT_EQ(chmod(opener.c_str(), 0700), 0);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (logs.Path() + ":" + path).c_str(), 1);
    setenv("VANMOOR_PASSWORD", "secret", 1);
    const CliResult result = RunProgram({"open", kAuthMac, "--wait", "1000"});
    setenv("PATH", path.c_str(), 1);
    ASSERT_EQ(result.status, 0) << result.err;

    std::ostringstream environment;
    environment << std::ifstream(seen).rdbuf();
    EXPECT_NE(environment.str().find("PATH="), std::string::npos) << environment.str();
    EXPECT_EQ(environment.str().find("VANMOOR_PASSWORD"), std::string::npos) << environment.str();
}

} // namespace
} // namespace vanmoor::cli::test
