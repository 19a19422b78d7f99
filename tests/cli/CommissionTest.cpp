#include "AddressText.h"
#include "CliRun.h"
#include "DeviceGenerator.h"

#include "Cli.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

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

// A mixed site in lan 1: a device of each device protocol and five cameras found by
// WS-Discovery alone: one plain, one that takes a new address only after a reboot, one that says
// OK to a change and keeps its settings, one with its own credentials and one whose password
// the credentials file does not know.
class CameraBatchTest : public CliTest {
protected:
    void SetUp() override {
        const std::string camera = "protocol=3702 port=8080 gateway=192.0.2.1 service=on ";
        simulator = &StartDevices(
            1, {Device("protocol=4022 mac=02:00:5e:00:30:01 ip=192.0.2.40 gateway=192.0.2.1"),
                Device("protocol=32970 mac=02:00:5e:00:30:02 ip=192.0.2.41 gateway=192.0.2.1 "
                       "user=admin password=admin"),
                Device(camera + "mac=02:00:5e:00:30:03 ip=192.0.2.42 user=admin password=admin"),
                Device(camera + "mac=02:00:5e:00:30:04 ip=192.0.2.43 user=admin password=admin "
                                "reboot_needed=on reboot_pause=3000"),
                Device(camera + "mac=02:00:5e:00:30:05 ip=192.0.2.44 user=admin password=admin "
                                "changes=ignore"),
                Device(camera + "mac=02:00:5e:00:30:06 ip=192.0.2.45 user=installer "
                                "password=\"Site two 7\""),
                Device(camera + "mac=02:00:5e:00:30:07 ip=192.0.2.46 user=admin password=x")});
    }

    std::string CredentialsFile(mode_t mode) {
        const std::string path = logs.Path() + "/site-credentials";
        std::ofstream(path, std::ios::binary)
            << "# the site's cameras\n"
               "default admin admin\n\n"
               "urn:uuid:5ca1ab1e-0000-4000-8000-02005E003006 installer Site two 7\r\n";
        EXPECT_EQ(chmod(path.c_str(), mode), 0);
        return path;
    }

    // Runs with standard error a terminal, for the progress lines.
    static CliResult RunWithProgress(const std::vector<std::string>& arguments) {
        std::ostringstream out;
        std::ostringstream err;
        const Console console{out, err, false, true, false, -1, false};
        CliResult result;
        result.status = RunCli(arguments, console);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    Simulator* simulator = nullptr;
};

TEST_F(CameraBatchTest, AssignChangesCamerasBesideOtherDevicesAndARebootHoldsUpNoOther) {
    const std::vector<std::string> assign = {
        "assign",        "--all",     "--from",    "192.0.2.100",   "--netmask",
        "255.255.255.0", "--gateway", "192.0.2.1", "--verify-wait", "8",
        "--wait",        "1000",      "--output",  "json",          "--credentials-file"};
    std::vector<std::string> dryRun(assign.begin(), assign.end() - 1);
    dryRun.push_back("--dry-run");
    const CliResult bare = RunProgram(dryRun);
    EXPECT_EQ(bare.status, 0) << bare.err;
    EXPECT_NE(bare.err.find("5 cameras were left out for want of credentials"), std::string::npos)
        << bare.err;
    EXPECT_EQ(nlohmann::json::parse(bare.out).at("plan").size(), 2u) << bare.out;

    std::vector<std::string> arguments = assign;
    arguments.push_back(CredentialsFile(0644));
    const CliResult open = RunProgram(arguments);
    EXPECT_EQ(open.status, 2) << "a credentials file others may read is refused";
    EXPECT_NE(open.err.find("chmod 600"), std::string::npos) << open.err;

    arguments.back() = CredentialsFile(0600);
    const CliResult result = RunWithProgress(arguments);
    EXPECT_EQ(result.status, 1) << result.err;
    std::map<std::string, nlohmann::json> rows;
    const nlohmann::json document = nlohmann::json::parse(result.out);
    for (const nlohmann::json& row : document.at("devices")) {
        rows[row.at("mac").get<std::string>()] = row;
    }
    ASSERT_EQ(rows.size(), 7u) << result.out;
    for (const char* changed : {"02:00:5e:00:30:01", "02:00:5e:00:30:02", "02:00:5e:00:30:03",
                                "02:00:5e:00:30:04", "02:00:5e:00:30:06"}) {
        EXPECT_EQ(rows[changed].at("result"), "changed") << rows[changed];
        EXPECT_EQ(rows[changed].at("final_ip"), rows[changed].at("planned_ip"));
    }
    EXPECT_NE(rows["02:00:5e:00:30:04"].at("detail").get<std::string>().find("after a reboot"),
              std::string::npos);
    const std::string unread = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e003007";
    EXPECT_EQ(rows[unread].at("result"), "refused") << "its login was refused, so it was not read";
    EXPECT_TRUE(rows[unread].at("planned_ip").is_null());
    EXPECT_EQ(rows["02:00:5e:00:30:05"].at("result"), "kept");
    EXPECT_EQ(rows["02:00:5e:00:30:05"].at("detail"), "the camera said OK but kept its settings");
    EXPECT_EQ(rows["02:00:5e:00:30:05"].at("final_ip"), "192.0.2.44");
    EXPECT_EQ(rows["02:00:5e:00:30:06"].at("endpoint"),
              "urn:uuid:5ca1ab1e-0000-4000-8000-02005e003006");
    EXPECT_EQ(settings::DottedText(simulator->Device(5).ip),
              rows["02:00:5e:00:30:06"].at("planned_ip").get<std::string>());

    // The rebooting camera's result comes after those of the others that change at once.
    const auto line = [&](const std::string& mac) { return result.err.find("] " + mac + " "); };
    const std::size_t rebooted = line("02:00:5e:00:30:04");
    ASSERT_NE(rebooted, std::string::npos) << result.err;
    for (const char* fast : {"02:00:5e:00:30:01", "02:00:5e:00:30:03", "02:00:5e:00:30:06"}) {
        EXPECT_LT(line(fast), rebooted) << fast << '\n' << result.err;
    }
}

} // namespace
} // namespace vanmoor::cli::test
