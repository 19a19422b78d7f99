#include "AddressText.h"
#include "CliRun.h"
#include "DeviceGenerator.h"

#include <cstdlib>
#include <map>
#include <set>

namespace vanmoor::cli::test {
namespace {

constexpr const char* kFactoryAddress = "192.168.1.108";

// A site fresh out of the boxes in lan 1: 30 port-4022 and 10 port-32970 devices, every one
// on the factory address, which lies outside the host's 192.0.2.0/24.
class CommissionTest : public CliTest {
protected:
    void SetUp() override {
        setenv("VANMOOR_PASSWORD", "admin", 1);
        std::vector<SimDevice> site = devsim::GenerateDevices(
            Device("protocol=4022 mac=02:00:5e:00:10:01 ip=192.168.1.108 gateway=192.168.1.1 "
                   "name=IPCam"),
            30);
        for (SimDevice& device : devsim::GenerateDevices(
                 Device("protocol=32970 mac=02:00:5e:00:20:01 ip=192.168.1.108 "
                        "gateway=192.168.1.1 name=IPDome user=admin password=admin"),
                 10)) {
            site.push_back(std::move(device));
        }
        // The generator counts addresses and names up; a site out of the boxes does not.
        for (SimDevice& device : site) {
            device.ip = {192, 168, 1, 108};
            device.name = "IPCam";
        }
        site[7].commandsToDrop = 1;
        site[35].password = "other";
        simulator = &StartDevices(1, std::move(site));
    }
    void TearDown() override { unsetenv("VANMOOR_PASSWORD"); }

    static CliResult Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--wait", "1000", "--output", "json"});
        return RunProgram(arguments);
    }

    // The rows of a JSON document's list, by MAC.
    static std::map<std::string, std::vector<nlohmann::json>> RowsByMac(const CliResult& result,
                                                                        const std::string& list) {
        std::map<std::string, std::vector<nlohmann::json>> rows;
        const nlohmann::json document = nlohmann::json::parse(result.out);
        for (const nlohmann::json& row : document.at(list)) {
            rows[row.at("mac").get<std::string>()].push_back(row);
        }
        return rows;
    }

    Simulator* simulator = nullptr;
};

TEST_F(CommissionTest, CheckFindsEveryDeviceOnTheFactoryAddressAndFailsTheScript) {
    const CliResult result = Run({"check"});
    EXPECT_EQ(result.status, 1) << result.err;
    const auto rows = RowsByMac(result, "findings");
    ASSERT_EQ(rows.size(), 40u);
    for (const auto& [mac, findings] : rows) {
        std::set<std::string> kinds;
        for (const nlohmann::json& finding : findings) {
            kinds.insert(finding.at("finding").get<std::string>());
            EXPECT_EQ(finding.at("ip"), kFactoryAddress);
        }
        EXPECT_EQ(kinds,
                  (std::set<std::string>{"duplicate address", "unreachable", "duplicate name"}))
            << mac;
    }
    const CliResult csv = RunProgram({"check", "--wait", "1000", "--output", "csv"});
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(ParseCsv(csv.out).size(), 1 + 40u * 3) << "a header and one row per finding";
}

TEST_F(CommissionTest, AssignMovesEveryConflictRetriesALostCommandAndNeverRetriesARefusal) {
    const CliResult dryRun =
        Run({"assign", "--conflicts", "--from", "192.0.2.100", "--netmask", "255.255.255.0",
             "--gateway", "192.0.2.1", "--name-pattern", "Cam-{n:02}", "--dry-run"});
    ASSERT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_EQ(nlohmann::json::parse(dryRun.out).at("plan").size(), 40u);
    EXPECT_EQ(CommandsReceived(*simulator), 0u);

    const CliResult result =
        Run({"assign", "--conflicts", "--from", "192.0.2.100", "--netmask", "255.255.255.0",
             "--gateway", "192.0.2.1", "--name-pattern", "Cam-{n:02}", "--user", "admin"});
    EXPECT_EQ(result.status, 1) << "one device refused the password";
    const auto rows = RowsByMac(result, "devices");
    ASSERT_EQ(rows.size(), 40u);
    std::set<std::string> addresses;
    for (std::size_t index = 0; index < 40; ++index) {
        const SimDevice device = simulator->Device(index);
        const nlohmann::json& row = rows.at(settings::MacColonText(device.mac)).at(0);
        if (index == 35) {
            EXPECT_EQ(row.at("result"), "refused");
            EXPECT_EQ(row.at("sends"), 1) << "a refusal is not retried";
            EXPECT_EQ(row.at("final_ip"), kFactoryAddress);
            continue;
        }
        EXPECT_EQ(row.at("result"), "changed") << index;
        EXPECT_EQ(row.at("sends"), index == 7 ? 2 : 1) << index;
        EXPECT_EQ(row.at("final_ip"), row.at("planned_ip"));
        EXPECT_EQ(settings::DottedText(device.ip), row.at("planned_ip").get<std::string>());
        EXPECT_EQ(device.name, row.at("name").get<std::string>());
        addresses.insert(settings::DottedText(device.ip));
    }
    EXPECT_EQ(addresses.size(), 39u) << "every device has its own address";
    EXPECT_EQ(addresses.count("192.0.2.1") + addresses.count("192.0.2.2"), 0u)
        << "the host's and the lan's addresses are skipped";

    const auto findings = RowsByMac(Run({"check"}), "findings");
    EXPECT_EQ(findings.size(), 1u) << "only the device that refused is still wrong";
}

TEST_F(CommissionTest, AssignRefusesBadRequestsBeforeSendingAnything) {
    const std::vector<std::vector<std::string>> requests = {
        {"assign", "--all", "--from", "192.0.2.250", "--netmask", "255.255.255.0", "--gateway",
         "0.0.0.0"}, // no room
        {"assign", "--all", "--from", "192.0.2.10", "--netmask", "255.255.255.0", "--gateway",
         "198.51.100.1"},
        {"assign", "--from", "192.0.2.10", "--netmask", "255.255.255.0"}, // no choice
        {"assign", "--all", "--mac", "02:00:5e:00:10:01", "--from", "192.0.2.10", "--netmask",
         "255.255.255.0"},
        {"assign", "--all", "--netmask", "255.255.255.0"}, // no first address
        {"assign", "--all", "--from", "224.0.0.10", "--netmask", "255.255.255.0", "--gateway",
         "0.0.0.0"}, // multicast
        {"assign", "--all", "--from", "192.0.2.10", "--netmask", "0.0.0.0", "--gateway", "0.0.0.0"},
        // The devices were found through lan 1's 192.0.2.1: lan 2's subnet is out of reach.
        {"assign", "--all", "--from", "198.51.100.10", "--netmask", "255.255.255.0", "--gateway",
         "0.0.0.0"},
        // Without --gateway each device keeps its own, 192.168.1.1, outside the new subnet.
        {"assign", "--all", "--from", "192.0.2.10", "--netmask", "255.255.255.0"},
    };
    for (const auto& request : requests) {
        EXPECT_EQ(Run(request).status, 2) << request[1] << ' ' << request[3];
    }
    EXPECT_EQ(CommandsReceived(*simulator), 0u);

    const CliResult allowed =
        Run({"assign", "--all", "--from", "198.51.100.10", "--netmask", "255.255.255.0",
             "--gateway", "0.0.0.0", "--allow-other-subnet", "--dry-run"});
    ASSERT_EQ(allowed.status, 0) << allowed.err;
    EXPECT_EQ(nlohmann::json::parse(allowed.out).at("plan").at(0).at("reachable"), false);
}

} // namespace
} // namespace vanmoor::cli::test
