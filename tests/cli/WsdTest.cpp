#include "CliRun.h"
#include "TestNetwork.h"
#include "XAddrWebPage.h"

#include <map>

namespace vanmoor::cli::test {
namespace {

constexpr const char* kCamera = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000301";
constexpr const char* kTwin = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000101";
constexpr const char* kFar = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000302";

// In lan 1: a camera that speaks WS-Discovery alone, one that speaks it and port 4022 (its twin
// answers), and one with an address outside the lan; in lan 2 a port-4022 device.
class WsdTest : public CliTest {
protected:
    void SetUp() override {
        StartDevices(1, {Device("protocol=3702 mac=02:00:5e:00:03:01 ip=192.0.2.30 port=8080 "
                                "scopes=\"onvif://www.onvif.org/name/Cam%201 "
                                "onvif://www.onvif.org/hardware/X9 "
                                "onvif://www.onvif.org/location/Hall\""),
                         Device("protocol=4022,3702 mac=02:00:5e:00:01:01 ip=192.0.2.10 "
                                "name=Door"),
                         Device("protocol=3702 mac=02:00:5e:00:03:02 ip=10.9.8.7")});
        StartDevices(2, {Device("protocol=4022 mac=02:00:5e:00:02:01 ip=198.51.100.10")});
    }

    // The devices of a scan by endpoint, or by MAC for those without one.
    std::map<std::string, nlohmann::json> Devices(std::vector<std::string> options = {}) {
        std::map<std::string, nlohmann::json> devices;
        const nlohmann::json document = ScanJson(std::move(options));
        for (const auto& device : document.at("devices")) {
            const bool wsd = device.contains("endpoint") && !device.at("endpoint").is_null();
            const auto& key = wsd ? device.at("endpoint") : device.at("mac");
            devices[key.get<std::string>()] = device;
        }
        return devices;
    }
};

TEST_F(WsdTest, ScanListsWsdCamerasWithTheirFieldsAndATwinOnce) {
    auto devices = Devices();
    ASSERT_EQ(devices.size(), 4u);
    const nlohmann::json& camera = devices.at(kCamera);
    EXPECT_TRUE(camera.at("mac").is_null());
    EXPECT_EQ(camera.at("ip"), "192.0.2.30");
    EXPECT_EQ(camera.at("name"), "Cam 1");
    EXPECT_EQ(camera.at("protocol"), 3702);
    EXPECT_EQ(camera.at("protocols"), "3702");
    EXPECT_EQ(camera.at("local_address"), "192.0.2.1");
    EXPECT_EQ(camera.at("xaddrs"), "http://192.0.2.30:8080/onvif/device_service");
    EXPECT_EQ(camera.at("hardware"), "X9");
    EXPECT_EQ(camera.at("location"), "Hall");
    EXPECT_NE(camera.at("types").get<std::string>().find("}NetworkVideoTransmitter"),
              std::string::npos);
    // Settings that only the device protocols tell are not known, not zero.
    for (const char* unknown : {"netmask", "gateway", "dhcp"}) {
        EXPECT_TRUE(camera.at(unknown).is_null()) << unknown;
    }

    const nlohmann::json& twin = devices.at(kTwin);
    EXPECT_EQ(twin.at("mac"), "02:00:5e:00:01:01");
    EXPECT_EQ(twin.at("name"), "Door");
    EXPECT_EQ(twin.at("protocols"), "4022,3702");
    EXPECT_TRUE(devices.at("02:00:5e:00:02:01").at("endpoint").is_null());

    const CliResult table = Scan({"--output", "table"});
    ASSERT_EQ(table.status, 0) << table.err;
    // The camera without a MAC shows with its protocol, its DHCP state unknown.
    EXPECT_NE(table.out.find("-                  192.0.2.30     8080  -     3702      Cam 1"),
              std::string::npos)
        << table.out;
    const CliResult csv = Scan({"--output", "csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(ParseCsv(csv.out).at(0).at(12), "endpoint");

    const CliResult shown = RunProgram({"show", kCamera, "--wait", "1000", "--output", "json"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(nlohmann::json::parse(shown.out).at("devices").at(0).at("hardware"), "X9");
    const CliResult page = RunProgram({"open", kCamera, "--print", "--wait", "1000"});
    ASSERT_EQ(page.status, 0) << page.err;
    EXPECT_EQ(page.out, "http://192.0.2.30:8080/\n");
}

TEST_F(WsdTest, ProtocolChoosesTheSearches) {
    const auto wsd = Devices({"--protocol", "3702"});
    ASSERT_EQ(wsd.size(), 3u);
    EXPECT_TRUE(wsd.at(kTwin).at("mac").is_null()); // no device protocol told its MAC
    // The device protocols alone list the fields they always did.
    const auto library = Devices({"--protocol", "4022"});
    ASSERT_EQ(library.size(), 2u);
    EXPECT_FALSE(library.at("02:00:5e:00:01:01").contains("endpoint"));
    EXPECT_EQ(Scan({"--protocol", "4022,80"}).status, 2);
}

TEST_F(WsdTest, CheckFlagsAForeignWsdCameraAndSetRefusesIt) {
    const CliResult check = RunProgram({"check", "--wait", "1000", "--output", "json"});
    EXPECT_EQ(check.status, 1) << check.err;
    const nlohmann::json findings = nlohmann::json::parse(check.out).at("findings");
    ASSERT_EQ(findings.size(), 1u) << check.out; // the twin is no duplicate of itself
    EXPECT_EQ(findings[0].at("endpoint"), kFar);
    EXPECT_EQ(findings[0].at("finding"), "unreachable");
    EXPECT_EQ(findings[0].at("ip"), "10.9.8.7");

    const CliResult set = RunProgram({"set", kCamera, "--name", "Hall", "--wait", "1000"});
    EXPECT_EQ(set.status, 1);
    EXPECT_NE(set.err.find("its own web page"), std::string::npos) << set.err;
    const std::size_t commands = CommandsReceived(*simulators[0]);
    EXPECT_EQ(commands, 0u);
}

// The planner skips the address a camera found by WS-Discovery alone holds, and plans no address
// for such a camera.
TEST_F(WsdTest, AssignLeavesTheAddressOfAWsdCameraAlone) {
    const CliResult plan = RunProgram(
        {"assign", "--all", "--from", "192.0.2.30", "--netmask", "255.255.255.0", "--gateway",
         "0.0.0.0", "--allow-other-subnet", "--dry-run", "--wait", "1000", "--output", "json"});
    ASSERT_EQ(plan.status, 0) << plan.err;
    const nlohmann::json rows = nlohmann::json::parse(plan.out).at("plan");
    std::map<std::string, std::string> planned;
    for (const auto& row : rows) {
        planned[row.at("mac").get<std::string>()] = row.at("planned_ip").get<std::string>();
    }
    EXPECT_EQ(planned, (std::map<std::string, std::string>{{"02:00:5e:00:01:01", "192.0.2.31"},
                                                           {"02:00:5e:00:02:01", "192.0.2.32"}}))
        << plan.out;

    const CliResult assigned =
        RunProgram({"assign", "--mac", "02:00:5e:00:01:01", "--from", "192.0.2.30", "--netmask",
                    "255.255.255.0", "--gateway", "0.0.0.0", "--wait", "1000", "--output", "json"});
    ASSERT_EQ(assigned.status, 0) << assigned.err;
    const nlohmann::json row = nlohmann::json::parse(assigned.out).at("devices").at(0);
    EXPECT_EQ(row.at("result"), "changed");
    EXPECT_EQ(row.at("final_ip"), "192.0.2.31");
}

// Every --repeat probes again: a camera that misses every probe of one scan is found by the next,
// and listed once however many answers it gives.
TEST_F(CliTest, RepeatProbesWsdAgain) {
    const std::string shy = "protocol=3702 mac=02:00:5e:00:03:01 ip=192.0.2.30 wsd_ignore=";
    StartDevices(1, {Device(shy + "1000000")});
    EXPECT_TRUE(ScanJson({"--protocol", "3702"}).at("devices").empty());
    const std::size_t probesOfAScan = simulators[0]->WsdProbesHeard();
    ASSERT_GT(probesOfAScan, 0u);
    const auto restart = [&] {
        simulators.clear();
        return &StartDevices(1, {Device(shy + std::to_string(probesOfAScan)),
                                 Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10")});
    };

    restart();
    EXPECT_EQ(ScanJson({"--protocol", "3702", "--repeat", "2"}).at("devices").size(), 1u);
    const Simulator* camera = restart();
    const nlohmann::json both = ScanJson({"--repeat", "3"});
    ASSERT_EQ(both.at("devices").size(), 2u) << both.dump();
    EXPECT_EQ(both.at("devices").at(1).at("endpoint"), kCamera);
    EXPECT_EQ(camera->WsdProbesHeard(), 3 * probesOfAScan);
}

// Anyone on the LAN can announce a page on another host in a camera's name.
TEST_F(CliTest, OpenTellsTheOtherHostACameraNamesAndOpensItOnlyWhenAsked) {
    StartDevices(1, {Device("protocol=3702 mac=02:00:5e:00:03:01 ip=192.0.2.52 "
                            "xaddrs=\"soap.udp://192.0.2.52:3702 http://evil.example/onvif\""),
                     Device("protocol=4022 mac=02:00:5e:00:03:02 ip=127.0.0.5")});
    // Nor does a device's loopback address open a page on this computer.
    const CliResult loopback =
        RunProgram({"open", "02:00:5e:00:03:02", "--print", "--wait", "1000"});
    EXPECT_EQ(loopback.status, 1);
    EXPECT_EQ(loopback.out, "");
    EXPECT_NE(loopback.err.find("127.0.0.5 is a loopback address"), std::string::npos)
        << loopback.err;
    const CliResult refused = RunProgram({"open", kCamera, "--print", "--wait", "1000"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("on the host evil.example, not on its address 192.0.2.52"),
              std::string::npos)
        << refused.err;
    const CliResult asked =
        RunProgram({"open", kCamera, "--print", "--any-host", "--wait", "1000"});
    EXPECT_EQ(asked.out, "http://evil.example/\n") << asked.err;
}

// A camera that hears no multicast is found by a unicast probe to the address it listens on.
TEST(WsdTargetTest, TargetProbesOneAddressByUnicast) {
    vanmoor::test::LogDirectory logs;
    Simulator lan1({Device("protocol=3702 mac=02:00:5e:00:03:01 ip=192.0.2.30 "
                           "wsd_probes=unicast")});
    vanmoor::test::RunInLan(1, [&] { lan1.Start(); });
    const auto count = [](const CliResult& result) {
        EXPECT_EQ(result.status, 0) << result.err;
        return nlohmann::json::parse(result.out).at("devices").size();
    };
    EXPECT_EQ(
        count(RunProgram({"scan", "--protocol", "3702", "--wait", "1000", "--output", "json"})),
        0u);
    const std::string lan1Address = vanmoor::test::TestNetwork::Get().lanAddresses[0];
    EXPECT_EQ(count(RunProgram({"scan", "--protocol", "3702", "--target", lan1Address, "--wait",
                                "1000", "--output", "json"})),
              1u);
    lan1.Stop();
}

// Transport addresses come from the network: only a plain scheme, host and port reach a browser.
TEST(XAddrWebPageTest, OnlyAPlainWebAddressIsOpened) {
    const settings::Ipv4Octets ip{192, 0, 2, 30};
    EXPECT_EQ(site::WebPageOfXAddrs({"soap.udp://192.0.2.30:3702", "http://192.0.2.9/a",
                                     "HTTP://admin@192.0.2.30:8080/onvif?x#y"},
                                    ip),
              "http://192.0.2.30:8080/");
    // A page on another host than the listed address is only named, never chosen.
    const std::vector<std::string> elsewhere = {"soap.udp://192.0.2.30:3702",
                                                "http://evil.example/onvif"};
    EXPECT_EQ(site::WebPageOfXAddrs(elsewhere, ip), std::nullopt);
    EXPECT_EQ(site::WebPageOfXAddrs({"http://0.0.0.0/"}, {}), std::nullopt);
    ASSERT_TRUE(site::FirstWebPageOfXAddrs(elsewhere));
    EXPECT_EQ(site::FirstWebPageOfXAddrs(elsewhere)->host, "evil.example");
    EXPECT_EQ(site::FirstWebPageOfXAddrs({"https://[2001:db8::1]/onvif"})->page,
              "https://[2001:db8::1]/");
    EXPECT_EQ(site::WebPortOfXAddrs({"https://cam.example/onvif"}, ip), 443);
    for (const char* hostile : {"http://a b/", "http://x;reboot/", "javascript:alert(1)",
                                "http://192.0.2.30:99999/", "http://:80/", "file:///etc/passwd"}) {
        EXPECT_EQ(site::FirstWebPageOfXAddrs({hostile}), std::nullopt) << hostile;
    }
}

// Credentials go to the device service URL: only to the address the camera answered from.
TEST(XAddrWebPageTest, DeviceServiceOnlyOnTheAnsweringAddress) {
    const settings::Ipv4Octets ip{192, 0, 2, 30};
    EXPECT_EQ(site::DeviceServiceUrlOfXAddrs({"http://192.0.2.9/onvif/device_service",
                                              "http://cam.example/onvif/device_service",
                                              "ftp://192.0.2.30/x",
                                              "http://admin@192.0.2.30/onvif/device_service",
                                              "https://192.0.2.30:8443/onvif/device_service?a=1"},
                                             ip),
              "https://192.0.2.30:8443/onvif/device_service?a=1");
    EXPECT_EQ(site::DeviceServiceUrlOfXAddrs({"http://192.0.2.9/onvif/device_service"}, ip),
              std::nullopt);
    EXPECT_EQ(site::DeviceServiceUrlOfXAddrs({"http://admin@192.0.2.30/onvif"}, ip), std::nullopt);
    EXPECT_EQ(site::DeviceServiceUrlOfXAddrs({"http://0.0.0.0/onvif"}, {}), std::nullopt);
}

} // namespace
} // namespace vanmoor::cli::test
