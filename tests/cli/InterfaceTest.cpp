#include "ChildProgram.h"
#include "CliRun.h"
#include "NetworkChanges.h"

#include <csignal>
#include <set>
#include <sys/wait.h>

namespace vanmoor::cli::test {
namespace {

using vanmoor::test::ExtraAddress;
using vanmoor::test::LinkDown;
using vanmoor::test::RemovedAddress;

TEST_F(CliTest, AnInterfaceNameMeansEveryAddressOfIt) {
    const ExtraAddress second("203.0.113.1/24", "lan1");
    StartDevices(1, {Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 reply=subnet"),
                     Device("protocol=32970 mac=02:00:5e:00:01:02 ip=203.0.113.10")});
    StartDevices(2, {Device("protocol=4022 mac=02:00:5e:00:02:01 ip=198.51.100.10")});

    const nlohmann::json document = ScanJson({"--interface", "lan1"});
    std::set<std::string> found;
    for (const auto& device : document.at("devices")) {
        found.insert(device.at("mac").get<std::string>() + " " +
                     device.at("local_address").get<std::string>());
    }
    EXPECT_EQ(found, (std::set<std::string>{"02:00:5e:00:01:01 192.0.2.1",
                                            "02:00:5e:00:01:02 203.0.113.1"}));
}

// The local addresses are listed afresh for each search: one address going away does not stop
// the search through the others.
TEST_F(CliTest, WatchSearchesOnThroughTheOtherAddressesWhenOneGoesAway) {
    Simulator& lan2 = StartDevices(
        2, {Device("protocol=4022 mac=02:00:5e:00:02:01 ip=198.51.100.10 name=Before")});
    // The address goes while the watch pauses between searches, after the event is out.
    ChildProgram watch({"watch", "--output", "jsonl", "--wait", "500", "--interval", "2"});
    ASSERT_TRUE(watch.ReadOutUntil("\"new\"")) << watch.Err();
    const RemovedAddress removed("192.0.2.1/24", "lan1");
    SimDevice renamed = lan2.Device(0);
    renamed.name = "After";
    lan2.SetDevice(0, renamed);
    EXPECT_TRUE(watch.ReadOutUntil("\"After\"", "the search failed")) << watch.Err();
}

// The interface goes down under a running watch and comes back: the watch says that its search
// fails, goes on, and sees what changed meanwhile.
TEST_F(CliTest, WatchGoesOnWhileItsInterfaceIsDownAndPicksUpWhenItIsBack) {
    Simulator& lan1 =
        StartDevices(1, {Device("protocol=4022 mac=02:00:5e:00:01:01 ip=192.0.2.10 name=Before")});
    ChildProgram watch(
        {"watch", "--interface", "lan1", "--output", "jsonl", "--wait", "500", "--interval", "0"});
    ASSERT_TRUE(watch.ReadOutUntil("\"new\"")) << watch.Err();
    {
        const LinkDown down("lan1");
        ASSERT_TRUE(watch.ReadErrUntil("the search failed")) << watch.Err();
        SimDevice renamed = lan1.Device(0);
        renamed.name = "After";
        lan1.SetDevice(0, renamed);
    }
    ASSERT_TRUE(watch.ReadOutUntil("\"After\"")) << watch.Out() << watch.Err();
    watch.Signal(SIGINT);
    const int status = watch.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << watch.Err();
    EXPECT_NE(watch.Err().find("the search works again"), std::string::npos) << watch.Err();
}

} // namespace
} // namespace vanmoor::cli::test
