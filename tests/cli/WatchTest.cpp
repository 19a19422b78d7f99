#include "ChildProgram.h"
#include "CliRun.h"
#include "DeviceWatch.h"
#include "TestNetwork.h"

#include <atomic>
#include <csignal>
#include <sstream>

namespace vanmoor::cli::test {
namespace {

// The watch sees a device come, change its address (as after a new DHCP lease) and another
// one go.
TEST_F(CliTest, WatchReportsNewChangedAndGoneDevicesByMac) {
    // Set once the simulator runs; read on its receive thread, which only the network orders
    // after the write.
    std::atomic<Simulator*> simulator{nullptr};
    std::atomic<int> searches{0};
    devsim::Observer observer;
    observer.onDatagram = [&](const devsim::ReceivedDatagram& datagram) {
        if (datagram.kind != devsim::DatagramKind::SearchRequest ||
            datagram.protocol != devsim::Protocol::Port4022 || ++searches != 1) {
            return;
        }
        // After answering the first search: the camera moves, the other falls silent.
        Simulator& devices = *simulator.load();
        SimDevice moved = devices.Device(0);
        moved.ip = {192, 0, 2, 77};
        devices.SetDevice(0, moved);
        SimDevice silent = devices.Device(1);
        silent.replyDelay = std::chrono::hours(1);
        devices.SetDevice(1, silent);
    };
    simulator =
        &StartDevices(1,
                      {Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 name=Camera"),
                       Device("protocol=4022 mac=02:00:5e:00:01:02 ip=192.0.2.11 name=Leaving")},
                      observer);

    const CliResult result = RunProgram(
        {"watch", "--count", "3", "--interval", "0", "--wait", "1000", "--output", "jsonl"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<nlohmann::json> events;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        events.push_back(nlohmann::json::parse(line));
    }
    ASSERT_EQ(events.size(), 4u) << result.out;
    EXPECT_EQ(events[0].at("event"), "new");
    EXPECT_EQ(events[1].at("event"), "new");
    EXPECT_EQ(events[2].at("event"), "changed");
    EXPECT_EQ(events[2].at("mac"), "02:00:5e:00:01:01");
    EXPECT_EQ(events[2].at("ip"), "192.0.2.77");
    EXPECT_EQ(events[2].at("previous_ip"), "192.0.2.10");
    EXPECT_EQ(events[3].at("event"), "gone");
    EXPECT_EQ(events[3].at("mac"), "02:00:5e:00:01:02");
}

// A camera that hears no multicast probe is seen through its Hello, and gone with its Bye.
TEST_F(CliTest, WatchShowsHelloAndByeBetweenSearches) {
    StartDevices(2, {Device("protocol=4022 mac=02:00:5e:00:02:01 ip=198.51.100.10 name=Marker")});
    ChildProgram watch({"watch", "--output", "jsonl", "--wait", "500", "--interval", "1"});
    // Its first search is out, so it listens.
    ASSERT_TRUE(watch.ReadOutUntil("Marker")) << watch.Err();
    Simulator camera({Device("protocol=3702 mac=02:00:5e:00:03:01 ip=192.0.2.30 name=Shy "
                             "wsd_probes=unicast")});
    vanmoor::test::RunInLan(1, [&] { camera.Start(); });
    ASSERT_TRUE(watch.ReadOutUntil("\"Shy\"")) << watch.Out() << watch.Err();
    camera.Stop();
    ASSERT_TRUE(watch.ReadOutUntil("\"gone\"")) << watch.Out() << watch.Err();
    watch.Signal(SIGINT);
    watch.Wait();

    std::vector<nlohmann::json> events;
    std::istringstream lines(watch.Out());
    for (std::string line; std::getline(lines, line);) {
        events.push_back(nlohmann::json::parse(line));
    }
    ASSERT_GE(events.size(), 3u) << watch.Out();
    EXPECT_EQ(events[1].at("event"), "new");
    EXPECT_EQ(events[1].at("endpoint"), "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000301");
    EXPECT_EQ(events[2].at("event"), "gone");
    EXPECT_EQ(events[2].at("endpoint"), events[1].at("endpoint"));
}

std::vector<std::string> EventNames(const std::vector<Record>& events) {
    std::vector<std::string> names;
    for (const Record& event : events) {
        names.push_back(std::get<std::string>(SelectFields(event, {"event"})[0].value));
    }
    return names;
}

// Anyone on the LAN can multicast a Hello or a Bye: neither outweighs the searches.
TEST(DeviceWatchTest, AnnouncementsDoNotOutweighTheSearches) {
    DeviceInfo merged;
    merged.mac = MacBytes{2, 0, 0x5e, 0, 1, 1};
    merged.ip = {192, 0, 2, 10};
    merged.wsd = listing::WsdDetails{};
    merged.wsd->endpoint = "urn:uuid:merged";
    DeviceInfo bye;
    bye.protocol = listing::kWsdProtocol;
    bye.wsd = listing::WsdDetails{};
    bye.wsd->endpoint = "urn:uuid:merged";
    DeviceInfo forged = bye;
    forged.wsd->endpoint = "urn:uuid:forged";
    forged.ip = {192, 0, 2, 99};

    DeviceWatch watch;
    EXPECT_EQ(EventNames(watch.Update({merged}, "t")), std::vector<std::string>{"new"});
    EXPECT_TRUE(watch.Announce(bye, false, "t").empty());
    EXPECT_TRUE(watch.Update({merged}, "t").empty());

    EXPECT_EQ(EventNames(watch.Announce(forged, true, "t")), std::vector<std::string>{"new"});
    EXPECT_TRUE(watch.Update({merged}, "t").empty());
    EXPECT_EQ(EventNames(watch.Update({merged}, "t")), std::vector<std::string>{"gone"});
}

TEST(UsageTest, UsageErrorsExitWithTwoAndHelpWithZero) {
    EXPECT_EQ(RunProgram({}).status, 2);
    EXPECT_EQ(RunProgram({"frobnicate"}).status, 2);
    EXPECT_EQ(RunProgram({"scan", "--bogus"}).status, 2);
    EXPECT_EQ(RunProgram({"scan", "--wait", "soon"}).status, 2);
    EXPECT_EQ(RunProgram({"scan", "--output", "xml"}).status, 2);
    EXPECT_EQ(RunProgram({"scan", "--fields", "mac,colour"}).status, 2);
    EXPECT_EQ(RunProgram({"show"}).status, 2);
    EXPECT_EQ(RunProgram({"watch", "--interval", "-1"}).status, 2);
    for (const char* command : {"interfaces", "scan", "show", "set", "open", "watch"}) {
        const CliResult help = RunProgram({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(std::string("Usage: vanmoor ") + command, 0), 0u) << help.out;
    }
    const CliResult help = RunProgram({"--help"});
    EXPECT_EQ(help.status, 0);
    // Every option taken before the command is named.
    for (const char* option : {"--log", "--log=FILE", "-q, --quiet", "-h, --help", "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
}

} // namespace
} // namespace vanmoor::cli::test
