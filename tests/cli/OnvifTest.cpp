#include "CliRun.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace vanmoor::cli::test {
namespace {

constexpr const char* kCamera = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000301";
constexpr const char* kClockCamera = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000302";
constexpr const char* kSilent = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000303";
constexpr const char* kIgnoring = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000304";

// In lan 1 three cameras found by WS-Discovery alone: one that serves its device service, one
// whose clock is an hour ahead and that takes only WS-Security, one that serves none, and one
// that says OK to a change and keeps its settings; and a device of a device protocol whose
// WS-Discovery twin serves the device service.
class OnvifTest : public CliTest {
protected:
    void SetUp() override {
        setenv("VANMOOR_PASSWORD", "Öffne-mich 1", 1);
        StartDevices(1, {Device("protocol=3702 mac=02:00:5e:00:03:01 ip=192.0.2.30 port=8080 "
                                "netmask=255.255.0.0 gateway=192.0.2.1 dns1=192.0.2.53 name=Hall "
                                "brand=Acme model=C1 version=2.1 service=on user=admin "
                                "password=\"Öffne-mich 1\" serial=SN42 hardware=HW-7"),
                         Device("protocol=3702 mac=02:00:5e:00:03:02 ip=192.0.2.31 port=8080 "
                                "gateway=198.51.100.1 service=on login=wsse clock=3600 user=admin "
                                "password=\"Öffne-mich 1\""),
                         // Its XAddrs name a port where nothing answers.
                         Device("protocol=3702 mac=02:00:5e:00:03:03 ip=192.0.2.32 port=8080 "
                                "service=on xaddrs=http://192.0.2.32:8081/onvif/device_service"),
                         Device("protocol=3702 mac=02:00:5e:00:03:04 ip=192.0.2.33 port=8080 "
                                "service=on changes=ignore user=admin password=\"Öffne-mich 1\""),
                         Device("protocol=4022,3702 mac=02:00:5e:00:01:05 ip=192.0.2.34 port=8080 "
                                "service=on user=admin password=\"Öffne-mich 1\" serial=SN77")});
    }
    void TearDown() override { unsetenv("VANMOOR_PASSWORD"); }

    CliResult Set(const std::string& device, std::vector<std::string> more) {
        std::vector<std::string> arguments = {"set",    device,  "--wait",        "1000",
                                              "--user", "admin", "--verify-wait", "8"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunProgram(arguments);
    }
    // The requests of the device service that change a setting or reboot.
    std::size_t ChangesReceived() const {
        const auto requests = simulators[0]->ServiceRequests();
        return static_cast<std::size_t>(
            std::count_if(requests.begin(), requests.end(), [](const auto& request) {
                return request.operation.rfind("Set", 0) == 0 ||
                       request.operation == "SystemReboot";
            }));
    }

    CliResult Show(const std::string& device, std::vector<std::string> more = {}) {
        std::vector<std::string> arguments = {"show", device, "--wait", "1000", "--output", "json"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunProgram(arguments);
    }
};

TEST_F(OnvifTest, ShowWithCredentialsPrintsTheReadFields) {
    const CliResult shown = Show(kCamera, {"--user", "admin"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const nlohmann::json device = nlohmann::json::parse(shown.out).at("devices").at(0);
    EXPECT_EQ(device.at("mac"), "02:00:5e:00:03:01");
    EXPECT_EQ(device.at("netmask"), "255.255.0.0");
    EXPECT_EQ(device.at("gateway"), "192.0.2.1");
    EXPECT_EQ(device.at("dns1"), "192.0.2.53");
    EXPECT_EQ(device.at("dns2"), "0.0.0.0");
    EXPECT_EQ(device.at("dhcp"), false);
    EXPECT_EQ(device.at("port"), 8080);
    EXPECT_EQ(device.at("serial"), "SN42");
    EXPECT_EQ(device.at("hardware_id"), "HW-7");
    EXPECT_EQ(device.at("brand"), "Acme");
    EXPECT_EQ(device.at("model"), "C1");
    EXPECT_EQ(device.at("version"), "2.1");
    EXPECT_FALSE(device.at("hostname").is_null());

    // By its address alike; without credentials the settings stay unknown.
    const CliResult byAddress = Show("192.0.2.30");
    ASSERT_EQ(byAddress.status, 0) << byAddress.err;
    const nlohmann::json plain = nlohmann::json::parse(byAddress.out).at("devices").at(0);
    EXPECT_EQ(plain.at("endpoint"), kCamera);
    EXPECT_TRUE(plain.at("netmask").is_null());
    EXPECT_TRUE(plain.at("serial").is_null());

    // The twin of a device of a device protocol is read alike.
    const CliResult twin = Show("02:00:5e:00:01:05", {"--user", "admin"});
    ASSERT_EQ(twin.status, 0) << twin.err;
    EXPECT_EQ(nlohmann::json::parse(twin.out).at("devices").at(0).at("serial"), "SN77");

    // Or with the line of a credentials file that names it by its address.
    const std::string file = logs.Path() + "/credentials";
    std::ofstream(file) << "192.0.2.30 admin \xC3\x96"
                           "ffne-mich 1\n";
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    const CliResult filed = Show(kCamera, {"--credentials-file", file});
    ASSERT_EQ(filed.status, 0) << filed.err;
    EXPECT_EQ(nlohmann::json::parse(filed.out).at("devices").at(0).at("serial"), "SN42");
}

TEST_F(OnvifTest, ShowReadsACameraWhoseClockIsOffThroughWsSecurity) {
    const CliResult shown = Show(kClockCamera, {"--user", "admin"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(nlohmann::json::parse(shown.out).at("devices").at(0).at("gateway"), "198.51.100.1");
}

TEST_F(OnvifTest, AWrongPasswordSaysSoAndExits1) {
    setenv("VANMOOR_PASSWORD", "wrong", 1);
    const CliResult shown = Show(kClockCamera, {"--user", "admin"});
    EXPECT_EQ(shown.status, 1);
    EXPECT_TRUE(shown.out.empty()) << shown.out;
    EXPECT_NE(shown.err.find("refused the user name and password"), std::string::npos) << shown.err;
    EXPECT_NE(shown.err.find("clock"), std::string::npos) << shown.err;
}

TEST_F(OnvifTest, ACameraWithoutDeviceServiceSaysSoAndExits1) {
    const CliResult shown = Show(kSilent, {"--user", "admin"});
    EXPECT_EQ(shown.status, 1);
    EXPECT_NE(shown.err.find("no answer from its device service at "
                             "http://192.0.2.32:8081/onvif/device_service"),
              std::string::npos)
        << shown.err;
}

// A camera's XAddrs are its own word: one that names the host of another camera gets no request
// sent there, and the camera it named is not read in its place.
class OnvifLureTest : public OnvifTest {
protected:
    void SetUp() override {
        setenv("VANMOOR_PASSWORD", "Öffne-mich 1", 1);
        StartDevices(1, {Device("protocol=3702 mac=02:00:5e:00:03:01 ip=192.0.2.30 port=8080 "
                                "service=on user=admin password=\"Öffne-mich 1\""),
                         Device("protocol=3702 mac=02:00:5e:00:03:06 ip=192.0.2.36 port=8080 "
                                "service=on user=admin password=\"Öffne-mich 1\" "
                                "xaddrs=http://192.0.2.30:8080/onvif/device_service")});
    }
};

TEST_F(OnvifLureTest, ACameraNamingAnotherHostGetsNoRequestSentThere) {
    const CliResult shown =
        Show("urn:uuid:5ca1ab1e-0000-4000-8000-02005e000306", {"--user", "admin"});
    EXPECT_EQ(shown.status, 1) << shown.out;
    EXPECT_NE(shown.err.find("offers no device service"), std::string::npos) << shown.err;
    EXPECT_NE(shown.err.find("(192.0.2.36)"), std::string::npos) << shown.err;
    EXPECT_TRUE(simulators[0]->ServiceRequests().empty());
}

TEST_F(OnvifTest, CheckWithCredentialsJudgesTheReadGateway) {
    const auto check = [this](std::vector<std::string> more) {
        std::vector<std::string> arguments = {"check", "--wait", "1000", "--output", "json"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunProgram(arguments);
    };
    const CliResult plain = check({});
    EXPECT_EQ(plain.status, 0) << plain.out << plain.err;

    const CliResult read = check({"--user", "admin"});
    EXPECT_EQ(read.status, 1) << read.err;
    const nlohmann::json findings = nlohmann::json::parse(read.out).at("findings");
    ASSERT_EQ(findings.size(), 1u) << read.out;
    EXPECT_EQ(findings[0].at("endpoint"), kClockCamera);
    EXPECT_EQ(findings[0].at("ip"), "192.0.2.31");
    // The camera without a device service is named, and judged as before.
    EXPECT_NE(read.err.find(kSilent), std::string::npos) << read.err;
}

TEST_F(OnvifTest, SetChangesACameraAndExits0OnlyWhenSeenChanged) {
    const CliResult dryRun = Set(kCamera, {"--ip", "192.0.2.40", "--dry-run", "--output", "json"});
    ASSERT_EQ(dryRun.status, 0) << dryRun.err;
    const nlohmann::json plan = nlohmann::json::parse(dryRun.out).at("settings").at(0);
    EXPECT_EQ(plan.at("steps"), "address, netmask and DHCP (SetNetworkInterfaces)");
    EXPECT_EQ(plan.at("ip"), "192.0.2.40");
    EXPECT_EQ(ChangesReceived(), 0u);

    const CliResult set = Set(kCamera, {"--ip", "192.0.2.40"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.err.find("shows the new settings"), std::string::npos) << set.err;
    const CliResult moved = Show("192.0.2.40", {"--user", "admin"});
    ASSERT_EQ(moved.status, 0) << moved.err;
    EXPECT_EQ(nlohmann::json::parse(moved.out).at("devices").at(0).at("endpoint"), kCamera);

    const CliResult ignored = Set(kIgnoring, {"--ip", "192.0.2.41"});
    EXPECT_EQ(ignored.status, 1) << ignored.err;
    EXPECT_NE(ignored.err.find("kept: the camera said OK but kept its settings"), std::string::npos)
        << ignored.err;

    // Without credentials the camera is refused as before, and nothing is sent.
    const CliResult bare = RunProgram({"set", kIgnoring, "--name", "Porch", "--wait", "1000"});
    EXPECT_EQ(bare.status, 1);
    EXPECT_NE(bare.err.find("--user"), std::string::npos) << bare.err;
}

} // namespace
} // namespace vanmoor::cli::test
