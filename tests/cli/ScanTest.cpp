#include "CliRun.h"
#include "TestNetwork.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace vanmoor::cli::test {
namespace {

// A name as anyone on the LAN could send it: a formula, a comma and a quote for spreadsheets,
// an escape sequence for terminals, and a byte that is not UTF-8.
const std::string kHostileName = "=1+2,\"x\x1b[2J\xff";

class ScanTest : public CliTest {
protected:
    void SetUp() override {
        SimDevice hostile = Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 "
                                   "gateway=192.0.2.1 port=80 version=V2.1 model=M100");
        hostile.name = kHostileName;
        StartDevices(1,
                     {hostile, Device("protocol=32970 mac=02:00:5e:00:01:02 ip=192.0.2.11 dhcp=1 "
                                      "name=Lobby port=8080")});
        StartDevices(2, {Device("protocol=4022 mac=02:00:5e:00:02:01 ip=198.51.100.10 "
                                "name=Yard")});
    }
};

TEST_F(ScanTest, JsonIsValidWithStableKeysAndTypesWhateverTheDevicesSend) {
    const nlohmann::json document = ScanJson();
    const nlohmann::json& devices = document.at("devices");
    ASSERT_EQ(devices.size(), 3u);
    std::map<std::string, nlohmann::json> byMac;
    for (const auto& device : devices) {
        byMac[device.at("mac")] = device;
    }
    const nlohmann::json& hostile = byMac.at("02:00:5e:00:01:01");
    EXPECT_EQ(hostile.at("ip"), "192.0.2.10");
    EXPECT_EQ(hostile.at("gateway"), "192.0.2.1");
    EXPECT_EQ(hostile.at("protocol"), 4022);
    EXPECT_EQ(hostile.at("port"), 80);
    EXPECT_EQ(hostile.at("dhcp"), false);
    EXPECT_EQ(hostile.at("version"), "V2.1");
    EXPECT_EQ(hostile.at("model"), "M100");
    EXPECT_EQ(hostile.at("local_address"), "192.0.2.1");
    // The byte that is not UTF-8 became U+FFFD; everything else arrived as sent.
    EXPECT_EQ(hostile.at("name"), "=1+2,\"x\x1b[2J\xEF\xBF\xBD");

    const nlohmann::json& lobby = byMac.at("02:00:5e:00:01:02");
    EXPECT_EQ(lobby.at("protocol"), 32970);
    EXPECT_EQ(lobby.at("dhcp"), true);
    EXPECT_EQ(byMac.at("02:00:5e:00:02:01").at("local_address"), "198.51.100.1");
}

TEST_F(ScanTest, JsonLinesCsvAndTableCarryTheSameDevicesSafely) {
    const CliResult lines = Scan({"--output", "jsonl", "--fields", "mac,name"});
    ASSERT_EQ(lines.status, 0) << lines.err;
    std::istringstream in(lines.out);
    std::set<std::string> macs;
    for (std::string line; std::getline(in, line);) {
        macs.insert(nlohmann::json::parse(line).at("mac").get<std::string>());
    }
    EXPECT_EQ(macs.size(), 3u);

    const CliResult csv = Scan({"--output", "csv", "--sort", "ip"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto rows = ParseCsv(csv.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][0], "mac");
    EXPECT_EQ(rows[0].size(), 18u); // the eleven main fields and the WS-Discovery ones
    const std::vector<std::string> ipsInOrder = {rows[1][1], rows[2][1], rows[3][1]};
    EXPECT_EQ(ipsInOrder, (std::vector<std::string>{"192.0.2.10", "192.0.2.11", "198.51.100.10"}));
    // The formula is quoted for spreadsheets; comma and quote survive the CSV quoting.
    EXPECT_EQ(rows[1][6], "'=1+2,\"x\x1b[2J\xEF\xBF\xBD");

    const CliResult table = Scan({"--output", "table"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out.find('\x1b'), std::string::npos) << "raw escape reached the terminal";
    EXPECT_NE(table.out.find("=1+2,\"x\\x1b[2J"), std::string::npos) << table.out;
    std::istringstream tableLines(table.out);
    for (std::string line; std::getline(tableLines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
    }
}

TEST_F(ScanTest, InterfaceSearchesOneLanByNameOrAddress) {
    const auto macsOf = [](const nlohmann::json& document) {
        std::set<std::string> macs;
        for (const auto& device : document.at("devices")) {
            macs.insert(device.at("mac").get<std::string>());
        }
        return macs;
    };
    EXPECT_EQ(macsOf(ScanJson({"--interface", "lan2"})),
              std::set<std::string>{"02:00:5e:00:02:01"});
    EXPECT_EQ(macsOf(ScanJson({"--interface", "192.0.2.1"})),
              (std::set<std::string>{"02:00:5e:00:01:01", "02:00:5e:00:01:02"}));
    EXPECT_EQ(Scan({"--interface", "eth9"}).status, 3);
    EXPECT_EQ(Scan({"--interface", "203.0.113.1"}).status, 3);
}

TEST_F(ScanTest, LogOptionSendsTheLibrarysLogToAFileWithoutTheUsersConfiguration) {
    const std::string file = logs.Path() + "/run.log";
    const CliResult result = RunProgram({"--log=" + file, "scan", "--wait", "1000"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::ifstream in(file);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("CBroadCastManager::"), std::string::npos) << log;
    EXPECT_EQ(std::getenv("VANMOOR_LOG_DIR"), logs.Path());
    EXPECT_FALSE(std::filesystem::exists(logs.Path() + "/LogConfig.txt"));
}

// Two devices of which only one answers each search, in turn, as on a lossy network.
TEST(RepeatTest, RepeatedSearchesListEveryDeviceOnceWithItsLatestAnswer) {
    vanmoor::test::LogDirectory logs;
    const std::chrono::hours never{1}; // later than any search waits
    std::vector<SimDevice> devices = {
        Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 name=First"),
        Device("protocol=4022 mac=02:00:5e:00:01:02 ip=192.0.2.11 name=Second")};
    devices[1].replyDelay = never;
    Simulator* simulator = nullptr;
    std::atomic<int> searches{0};
    devsim::Observer observer;
    observer.onDatagram = [&](const devsim::ReceivedDatagram& datagram) {
        if (datagram.kind != devsim::DatagramKind::SearchRequest ||
            datagram.protocol != devsim::Protocol::Port4022) {
            return;
        }
        const std::size_t silent = ++searches % 2 == 1 ? 0 : 1;
        SimDevice quiet = simulator->Device(silent);
        SimDevice loud = simulator->Device(1 - silent);
        quiet.replyDelay = never;
        loud.replyDelay.reset();
        simulator->SetDevice(silent, quiet);
        simulator->SetDevice(1 - silent, loud);
    };
    Simulator lan1(devices, observer);
    simulator = &lan1;
    vanmoor::test::RunInLan(1, [&] { lan1.Start(); });

    const CliResult once = RunProgram({"scan", "--output", "json", "--wait", "1000"});
    ASSERT_EQ(once.status, 0) << once.err;
    EXPECT_EQ(nlohmann::json::parse(once.out).at("devices").size(), 1u);

    const CliResult repeated =
        RunProgram({"scan", "--output", "json", "--wait", "1000", "--repeat", "3"});
    ASSERT_EQ(repeated.status, 0) << repeated.err;
    std::multiset<std::string> names;
    const nlohmann::json document = nlohmann::json::parse(repeated.out);
    for (const auto& device : document.at("devices")) {
        names.insert(device.at("name").get<std::string>());
    }
    EXPECT_EQ(names, (std::multiset<std::string>{"First", "Second"}));
    lan1.Stop();
}

} // namespace
} // namespace vanmoor::cli::test
