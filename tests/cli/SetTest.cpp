#include "CliRun.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace vanmoor::cli::test {
namespace {

constexpr const char* kPlainMac = "02:00:5e:00:01:01";
constexpr const char* kAuthMac = "02:00:5e:00:01:02";

class SetTest : public CliTest {
protected:
    void SetUp() override {
        unsetenv("VANMOOR_PASSWORD");
        simulator = &StartDevices(
            1, {Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 gateway=192.0.2.1 "
                       "name=Door port=80"),
                Device("protocol=32970 mac=02:00:5e:00:01:02 ip=192.0.2.11 gateway=192.0.2.1 "
                       "name=Lobby port=80 user=admin password=secret")});
    }
    void TearDown() override { unsetenv("VANMOOR_PASSWORD"); }

    static CliResult Set(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "set");
        arguments.insert(arguments.end(), {"--wait", "1000"});
        return RunProgram(arguments);
    }

    // A file holding `password`, removed with the test's log directory.
    std::string PasswordFile(const std::string& password) {
        const std::string path = logs.Path() + "/password";
        std::ofstream(path) << password << '\n';
        return path;
    }

    Simulator* simulator = nullptr;
};

TEST_F(SetTest, APlainDeviceTakesTheNewSettingsAndTheSearchAfterwardsShowsThem) {
    const CliResult result = Set({kPlainMac, "--ip", "192.0.2.50", "--name", "Front gate", "--port",
                                  "8081", "--dns1", "192.0.2.53"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("answers with the new settings"), std::string::npos);
    const SimDevice device = simulator->Device(0);
    EXPECT_EQ(device.ip, (devsim::Ipv4{192, 0, 2, 50}));
    EXPECT_EQ(device.name, "Front gate");
    EXPECT_EQ(device.webPort, 8081);
    EXPECT_EQ(device.dns1, (devsim::Ipv4{192, 0, 2, 53}));
    EXPECT_EQ(device.gateway, (devsim::Ipv4{192, 0, 2, 1})) << "a field not given was kept";
}

TEST_F(SetTest, ADeviceWithCredentialsTakesTheRightPasswordAndRefusesAWrongOne) {
    const CliResult right = Set(
        {kAuthMac, "--port", "8080", "--user", "admin", "--password-file", PasswordFile("secret")});
    ASSERT_EQ(right.status, 0) << right.err;
    EXPECT_EQ(simulator->Device(1).webPort, 8080);

    setenv("VANMOOR_PASSWORD", "wrong", 1);
    const CliResult wrong = Set({kAuthMac, "--port", "9090", "--user", "admin"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("did not take the new settings"), std::string::npos) << wrong.err;
    EXPECT_EQ(simulator->Device(1).webPort, 8080);
    EXPECT_EQ(CommandsReceived(*simulator), 2u);

    setenv("VANMOOR_PASSWORD", "wrong", 1);
    EXPECT_EQ(Set({kAuthMac, "--port", "9090", "--user", "admin", "--no-verify"}).status, 0)
        << "without verification only the sending counts";
}

TEST_F(SetTest, ANameNotGivenGoesBackByteForByteAndAGivenOneMustFitInBytes) {
    std::vector<SimDevice> devices = {
        Device("protocol=4022 mac=02:00:5e:00:02:01 ip=198.51.100.10 gateway=198.51.100.1"),
        Device("protocol=32970 mac=02:00:5e:00:02:02 ip=198.51.100.11 gateway=198.51.100.1 "
               "user=admin password=secret")};
    devices[0].name = "Cam\xe9ra Nord";       // not UTF-8
    devices[1].name = "Warehouse dome north"; // 20 bytes: more than the dialog's 18 characters
    Simulator& site = StartDevices(2, std::move(devices));
    setenv("VANMOOR_PASSWORD", "secret", 1);
    for (const char* mac : {"02:00:5e:00:02:01", "02:00:5e:00:02:02"}) {
        const CliResult result = Set({mac, "--port", "8080", "--user", "admin"});
        EXPECT_EQ(result.status, 0) << mac << ": " << result.err;
    }
    EXPECT_EQ(site.Device(0).name, "Cam\xe9ra Nord");
    EXPECT_EQ(site.Device(1).name, "Warehouse dome north");
    EXPECT_EQ(site.Device(1).webPort, 8080);

    // Nothing differs: a wrong password could not be told from a right one, so nothing is sent.
    const std::size_t sent = CommandsReceived(site);
    setenv("VANMOOR_PASSWORD", "wrong", 1);
    const CliResult same = Set({"02:00:5e:00:02:02", "--port", "8080", "--user", "admin"});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_NE(same.err.find("nothing was sent"), std::string::npos) << same.err;
    EXPECT_EQ(CommandsReceived(site), sent);
    setenv("VANMOOR_PASSWORD", "secret", 1);

    const std::string japanese = "\u76e3\u8996\u30ab\u30e1\u30e9\u5317\u9580\u5165\u53e3\u524d";
    ASSERT_EQ(japanese.size(), 30u) << "ten characters, thirty bytes";
    const CliResult tooLong = Set({"02:00:5e:00:02:01", "--name", japanese});
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_NE(tooLong.err.find("30 bytes"), std::string::npos) << tooLong.err;
    EXPECT_EQ(site.Device(0).name, "Cam\xe9ra Nord");
    const CliResult fits = Set({"02:00:5e:00:02:02", "--name", japanese, "--user", "admin"});
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_EQ(site.Device(1).name, japanese) << "the port-32970 command carries 32 bytes";

    // The answer shows 23 bytes of the 30: sending them back would cut the name.
    const CliResult cut = Set({"02:00:5e:00:02:02", "--port", "9090", "--user", "admin"});
    EXPECT_EQ(cut.status, 2) << cut.err;
    EXPECT_EQ(site.Device(1).name, japanese);
}

TEST_F(SetTest, BadArgumentsAreRefusedWithoutSendingAnything) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
    };
    const Case cases[] = {
        {{"02:00:5e:00:09:09", "--port", "81"}, 1},       // nobody has that MAC
        {{"02:00:5e:00:01", "--port", "81"}, 2},          // malformed MAC
        {{kPlainMac, "--ip", "192.0.2"}, 2},              // malformed address
        {{kPlainMac, "--ip", "192.0.2.256"}, 2},          // malformed address
        {{kPlainMac, "--port", "65536"}, 2},              // port out of range
        {{kPlainMac, "--port", "-1"}, 2},                 // port out of range
        {{kPlainMac, "--port", "80x"}, 2},                // port not a number
        {{kPlainMac, "--name", std::string(19, 'n')}, 2}, // name too long
        {{kAuthMac, "--name", std::string(33, 'n')}, 2},  // too long for either command
        {{kPlainMac, "--ip", "224.0.0.10"}, 2},           // multicast
        {{kPlainMac, "--ip", "192.0.2.255"}, 2},          // the library would refuse it
        {{kPlainMac, "--gateway", "198.51.100.1"}, 2},    // gateway outside the subnet
        {{kPlainMac, "--netmask", "0.0.0.0"}, 2},         // no subnet at all
        {{kPlainMac, "--netmask", "255.0.255.0"}, 2},     // not contiguous
        {{kPlainMac, "--ip", "127.0.0.5", "--netmask", "255.0.0.0"}, 2},         // loopback
        {{kPlainMac, "--ip", "192.0.2.127", "--netmask", "255.255.255.128"}, 2}, // broadcast
        {{kPlainMac, "--dhcp", "maybe"}, 2},                // neither on nor off
        {{kPlainMac, "--password", "secret"}, 2},           // no password as an argument
        {{kAuthMac, "--port", "81"}, 2},                    // credentials missing
        {{kAuthMac, "--port", "81", "--user", "admin"}, 2}, // password missing
        {{kPlainMac, "--port", "81", "--dry-run"}, 0},      // checked, printed, not sent
    };
    for (const Case& c : cases) {
        const CliResult result = Set(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments[0] << " " << c.arguments[1] << "\n"
                                           << result.err;
        // One line tells what is wrong; a usage error adds where to read more.
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), c.status) << result.err;
    }
    EXPECT_EQ(CommandsReceived(*simulator), 0u);
    EXPECT_EQ(simulator->Device(0).webPort, 80);
}

TEST_F(SetTest, DryRunPrintsTheRecordThatWouldBeSent) {
    const CliResult result = Set({kAuthMac, "--name", "Hall", "--user", "admin", "--dry-run",
                                  "--password-file", PasswordFile("secret"), "--output", "json"});
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json record = nlohmann::json::parse(result.out).at("settings").at(0);
    EXPECT_EQ(record.at("mac"), kAuthMac);
    EXPECT_EQ(record.at("protocol"), 32970);
    EXPECT_EQ(record.at("name"), "Hall");
    EXPECT_EQ(record.at("ip"), "192.0.2.11");
    EXPECT_EQ(record.at("user"), "admin");
    EXPECT_EQ(result.out.find("secret"), std::string::npos) << "the password is never printed";
    EXPECT_EQ(CommandsReceived(*simulator), 0u);
}

} // namespace
} // namespace vanmoor::cli::test
