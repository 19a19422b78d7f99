#include "WsdListener.h"
#include "ProgramInLan.h"
#include "WsdNetwork.h"

namespace vanmoor::wsd::test {
namespace {

constexpr std::chrono::seconds kPatience{5};

// Announcements until `count` came or the patience ran out, and then those of a short while
// more, so that one on the wrong interface would be among them.
std::vector<Announcement> Collect(WsdListener& listener, std::size_t count) {
    std::vector<Announcement> seen;
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    while (seen.size() < count && std::chrono::steady_clock::now() < giveUp) {
        for (Announcement& announcement : listener.Poll(std::chrono::milliseconds(100))) {
            seen.push_back(std::move(announcement));
        }
    }
    for (Announcement& announcement : listener.Poll(std::chrono::milliseconds(300))) {
        seen.push_back(std::move(announcement));
    }
    return seen;
}

// The simulator program says Hello when it starts and Bye when SIGTERM ends it.
TEST_F(WsdNetworkTest, HelloAndByeAreCreditedToTheLanTheyCameFromOnly) {
    WsdListener listener(reader, {});
    EXPECT_TRUE(listener.Start().empty());
    EXPECT_EQ(listener.ListeningOn(), net.pcAddresses);

    vanmoor::test::ProgramInLan devices(2, VANMOOR_DEVSIM_PROGRAM,
                                        {"--ready", "--device",
                                         "protocol=3702 mac=02:00:00:00:02:01 ip=198.51.100.10 "
                                         "scopes=onvif://www.onvif.org/location/Hall"});
    ASSERT_EQ(devices.ReadLine(kPatience).rfind("vanmoor-devsim ready", 0), 0u);
    std::vector<Announcement> seen = Collect(listener, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, Announcement::Kind::Hello);
    EXPECT_EQ(seen[0].receivedOn, net.pcAddresses[1]);
    EXPECT_EQ(seen[0].target.location, "Hall");
    ASSERT_EQ(listener.Devices().size(), 1u);
    EXPECT_EQ(listener.Devices()[0].receivedOn, net.pcAddresses[1]);

    EXPECT_EQ(devices.Terminate(), 0);
    seen = Collect(listener, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, Announcement::Kind::Bye);
    EXPECT_EQ(seen[0].receivedOn, net.pcAddresses[1]);
    EXPECT_TRUE(listener.Devices().empty());
}

} // namespace
} // namespace vanmoor::wsd::test
