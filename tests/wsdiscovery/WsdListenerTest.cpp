#include "WsdListener.h"
#include "DatagramFlood.h"
#include "NetworkChanges.h"
#include "ProgramInLan.h"
#include "Protocol.h"
#include "WsdMessages.h"
#include "WsdNetwork.h"

#include <memory>
#include <thread>

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

// An interface that comes up while the listener runs is listened on from the next call on.
TEST_F(WsdNetworkTest, TheListenerFollowsAnInterfaceThatComesUp) {
    auto down = std::make_unique<vanmoor::test::LinkDown>("lan2");
    WsdListener listener(reader, {});
    EXPECT_TRUE(listener.Start().empty());
    EXPECT_EQ(listener.ListeningOn(), std::vector<std::string>{net.pcAddresses[0]});
    down.reset();
    EXPECT_TRUE(listener.ListenOn({}).empty());
    EXPECT_EQ(listener.ListeningOn(), net.pcAddresses);

    vanmoor::test::ProgramInLan devices(
        2, VANMOOR_DEVSIM_PROGRAM,
        {"--ready", "--device", "protocol=3702 mac=02:00:00:00:02:01 ip=198.51.100.10"});
    ASSERT_EQ(devices.ReadLine(kPatience).rfind("vanmoor-devsim ready", 0), 0u);
    const std::vector<Announcement> seen = Collect(listener, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].receivedOn, net.pcAddresses[1]);
    EXPECT_EQ(listener.ListenOn({net.pcAddresses[0]}).size(), 0u);
    EXPECT_EQ(listener.ListeningOn(), std::vector<std::string>{net.pcAddresses[0]});
}

// Anyone can fill the queue with Hellos; the Bye queued before them stays.
TEST_F(WsdNetworkTest, AFullQueueDropsHellosBeforeAnyBye) {
    WsdListener::Options options;
    options.localAddresses = {net.pcAddresses[0]};
    options.maxQueued = 2;
    WsdListener listener(reader, options);
    EXPECT_TRUE(listener.Start().empty());
    std::unique_ptr<vanmoor::test::UdpPeer> sender;
    vanmoor::test::RunInLan(
        1, [&] { sender = std::make_unique<vanmoor::test::UdpPeer>(net.lanAddresses[0], 0); });
    const auto send = [&](const std::string& text) {
        sender->SendTo(std::string(kMulticastGroup), kPort, {text.begin(), text.end()});
    };
    const auto device = [](int last) {
        return devsim::ParseDevice("protocol=3702 mac=02:00:00:00:01:0" + std::to_string(last) +
                                   " ip=192.0.2.1" + std::to_string(last));
    };
    send(devsim::ByeMessage(device(1), "urn:uuid:bye-1"));
    send(devsim::HelloMessage(device(2), "urn:uuid:hello-2"));
    send(devsim::HelloMessage(device(3), "urn:uuid:hello-3"));
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    while (listener.Counters().datagrams < 3 && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const std::vector<Announcement> queued = listener.Poll(std::chrono::milliseconds(0));
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].kind, Announcement::Kind::Bye);
    EXPECT_EQ(queued[1].target.address, "urn:uuid:5ca1ab1e-0000-4000-8000-020000000103");
    EXPECT_EQ(listener.Overflowed(), 1u);
}

TEST_F(WsdNetworkTest, AMulticastFloodDoesNotHoldUpTheListenersStop) {
    auto listener = std::make_unique<WsdListener>(reader, WsdListener::Options{});
    EXPECT_TRUE(listener->Start().empty());
    std::unique_ptr<vanmoor::test::UdpPeer> flooder;
    vanmoor::test::RunInLan(
        1, [&] { flooder = std::make_unique<vanmoor::test::UdpPeer>(net.lanAddresses[0], 0); });
    const DatagramFlood flood(std::move(flooder), std::string(kMulticastGroup), kPort,
                              std::chrono::seconds(8));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_GT(listener->Counters().unreadable, 0u);
    const auto stop = std::chrono::steady_clock::now();
    listener.reset();
    // Without a bound on the draining the stop waits for the flood's end.
    EXPECT_LT(std::chrono::steady_clock::now() - stop, std::chrono::seconds(3));
}

} // namespace
} // namespace vanmoor::wsd::test
