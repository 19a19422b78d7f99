// What a search does when the host or the network misbehaves: interfaces that go away, a port
// taken by another program, a library shut down under a stream of replies, a hostile sender.
#include "DeviceGenerator.h"
#include "NetworkChanges.h"
#include "ProcessFigures.h"
#include "ReplyBuilder.h"
#include "SimulatedDevices.h"
#include "UdpPeer.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <future>
#include <netinet/in.h>
#include <random>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace vanmoor::test {
namespace {

using namespace std::chrono_literals;
using devsim::Ipv4;

class Faults : public DeviceTest {
protected:
    // One device of each protocol on each lan, and `moreOnLan1`.
    void StartEveryLan(std::vector<SimDevice> moreOnLan1 = {}) {
        moreOnLan1.push_back(MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "lan1 plain"));
        moreOnLan1.push_back(MakeDevice(Protocol::Port32970, 2, {192, 0, 2, 11}, "lan1 secure"));
        StartDevices(1, std::move(moreOnLan1));
        StartDevices(2, {MakeDevice(Protocol::Port4022, 3, {198, 51, 100, 10}, "lan2 plain"),
                         MakeDevice(Protocol::Port32970, 4, {198, 51, 100, 11}, "lan2 secure")});
    }
    std::set<std::string> ListedNames() {
        std::set<std::string> names;
        for (const Listed& listed : ListDevices()) {
            names.insert(listed.name);
        }
        return names;
    }
    const std::set<std::string> lan1Names{"lan1 plain", "lan1 secure"};
    const std::set<std::string> everyName{"lan1 plain", "lan1 secure", "lan2 plain", "lan2 secure"};
};

TEST_F(Faults, AnInterfaceGoneBeforeTheSearchLeavesTheOtherOneWorking) {
    StartEveryLan();
    {
        const RemovedAddress gone(net.pcAddresses[1] + "/24", "lan2");
        ClearLog();
        EXPECT_TRUE(search(kSearchMilliseconds));
        EXPECT_NE(Log().find("bind failed, error = " + std::to_string(EADDRNOTAVAIL)),
                  std::string::npos);
        EXPECT_EQ(ListedNames(), lan1Names);
    }
    {
        const LinkDown down("lan2");
        EXPECT_TRUE(search(kSearchMilliseconds));
        EXPECT_EQ(ListedNames(), lan1Names);
    }
    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(ListedNames(), everyName) << "back once the interface is";
}

TEST_F(Faults, AnInterfaceGoingDownDuringTheSearchStopsNothing) {
    StartEveryLan();
    std::unique_ptr<LinkDown> down;
    EXPECT_TRUE(SearchWhile([&] { down = std::make_unique<LinkDown>("lan2"); }));
    const auto names = ListedNames();
    EXPECT_TRUE(names.count("lan1 plain") == 1 && names.count("lan1 secure") == 1);
    down.reset();
    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(ListedNames(), everyName);
}

TEST_F(Faults, APortTakenWithoutAddressReuseCostsOnlyItsOwnEndpoints) {
    StartEveryLan();
    {
        // Bound without address reuse, as another program might have it.
        int blocker = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_port = htons(4022);
        ASSERT_EQ(bind(blocker, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
        ClearLog();
        EXPECT_TRUE(search(kSearchMilliseconds));
        close(blocker);
    }
    const std::string line = "CBroadCastItem::CBroadCastItem::RecvPacket::bind failed, error = " +
                             std::to_string(EADDRINUSE);
    const std::string log = Log();
    EXPECT_NE(log.find(line), log.rfind(line)) << "once for each address:\n" << log;
    EXPECT_EQ(ListedNames(), (std::set<std::string>{"lan1 secure", "lan2 secure"}));
}

TEST_F(Faults, DeinitUnderAStreamOfRepliesReturnsAtOnce) {
    ReplyPlan pouring;
    pouring.repeat = 2000; // 2,000 rounds of 200 replies, one after another
    StartDevices(
        1, devsim::GenerateDevices(MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "d"), 200),
        pouring);
    ASSERT_TRUE(search(100));
    auto stopped = std::async(std::launch::async, [] { deinit(); });
    ASSERT_EQ(stopped.wait_for(kPatience), std::future_status::ready);
    EXPECT_LT(simulators[0]->Counters().sent, 400000u) << "the stream was still flowing";

    ASSERT_NE(init(), nullptr);
    ASSERT_TRUE(setIPSearch(0, ""));
    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(getCounts(), 200);
}

// Sends junk to both protocol ports of lan 1 from its own thread, about `perSecond` datagrams a
// second, until destroyed: short random bytes, datagrams longer than a receive buffer, and
// well-formed replies of devices that do not exist, each with a new MAC.
class Flood {
public:
    explicit Flood(std::uint64_t perSecond) {
        RunInLan(1, [&] { m_Peer = std::make_unique<UdpPeer>("0.0.0.0", 0); });
        m_Thread = std::thread([this, perSecond] { Run(perSecond); });
    }
    ~Flood() {
        m_Stop = true;
        m_Thread.join();
    }
    std::uint64_t Sent() const { return m_Sent; }
    double Seconds() const { return m_Seconds; }

private:
    void Run(std::uint64_t perSecond) {
        std::mt19937 random(7);
        const auto start = std::chrono::steady_clock::now();
        const std::string targets[] = {"255.255.255.255", TestNetwork::Get().pcAddresses[0]};
        while (!m_Stop) {
            for (int i = 0; i < 100; ++i, ++m_Sent) {
                const int port = m_Sent % 2 == 0 ? 4022 : 32970;
                m_Peer->SendTo(targets[m_Sent / 2 % 2], port, Junk(random, port));
            }
            std::this_thread::sleep_until(start +
                                          std::chrono::microseconds(m_Sent * 1000000 / perSecond));
            m_Seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    std::vector<std::uint8_t> Junk(std::mt19937& random, int port) {
        switch (m_Sent / 4 % 3) {
        case 0:
            return RandomBytes(random, random() % 100);
        case 1:
            return RandomBytes(random, 501 + random() % 900);
        default: {
            SimDevice fake =
                MakeDevice(port == 4022 ? Protocol::Port4022 : Protocol::Port32970, 0,
                           Ipv4{192, 0, 2, static_cast<std::uint8_t>(random())}, "fake");
            fake.mac = {0x06,
                        static_cast<std::uint8_t>(random()),
                        static_cast<std::uint8_t>(random()),
                        static_cast<std::uint8_t>(random()),
                        static_cast<std::uint8_t>(random()),
                        static_cast<std::uint8_t>(random())};
            return devsim::BuildReply(fake);
        }
        }
    }
    static std::vector<std::uint8_t> RandomBytes(std::mt19937& random, std::size_t length) {
        std::vector<std::uint8_t> bytes(length);
        for (auto& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        return bytes;
    }

    std::unique_ptr<UdpPeer> m_Peer;
    std::thread m_Thread;
    std::atomic<bool> m_Stop{false};
    std::atomic<std::uint64_t> m_Sent{0};
    std::atomic<double> m_Seconds{0};
};

TEST_F(Faults, AHostileFloodHidesNoDeviceAndHoldsNoMoreThanItsDevices) {
    // Sanitized builds receive several times slower; the flood is scaled to them.
    constexpr std::uint64_t kPerSecond = kResidentMemoryMeaningful ? 100000 : 20000;
    SimDevice halfway = MakeDevice(Protocol::Port4022, 5, {192, 0, 2, 12}, "lan1 halfway");
    halfway.replyDelay = std::chrono::milliseconds(kSearchMilliseconds / 2);
    StartEveryLan({halfway});
    const ProcessFigures before = ProcessFigures::Now();

    std::unique_ptr<Flood> flood;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(SearchWhile([&] { flood = std::make_unique<Flood>(kPerSecond); }));
    const double searchSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::uint64_t sent = flood->Sent();
    const double floodSeconds = flood->Seconds();
    flood.reset();
    const ProcessFigures after = ProcessFigures::Now();

    for (const SimDevice& real :
         {simulators[0]->Device(0), simulators[0]->Device(1), simulators[0]->Device(2),
          simulators[1]->Device(0), simulators[1]->Device(1)}) {
        EXPECT_NE(IndexOf(MacText(real)), -1) << real.name;
    }
    std::printf("flood: %llu datagrams in %.2f s (%.0f a second); search(%d) took %.2f s; "
                "%d entries; resident memory %+.1f MiB\n",
                static_cast<unsigned long long>(sent), floodSeconds, sent / floodSeconds,
                kSearchMilliseconds, searchSeconds, getCounts(),
                (static_cast<double>(after.residentBytes) - before.residentBytes) / 1048576.0);
    if (kResidentMemoryMeaningful) {
        // At most one record per fake device, each a few hundred bytes.
        EXPECT_LT(after.residentBytes, before.residentBytes + 64 * 1024 * 1024);
    }
}

TEST_F(Faults, ADeviceImpersonatedUnderItsMacIsListedOnce) {
    const SimDevice real = MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "real");
    SimDevice impostor = real;
    impostor.ip = {198, 51, 100, 66};
    impostor.name = "impostor";
    StartDevices(1, {real});
    StartDevices(2, {impostor});
    ASSERT_TRUE(search(kSearchMilliseconds));

    // One entry for the MAC, with whichever answer came last: nothing tells the two apart.
    EXPECT_EQ(getCounts(), 1);
    const auto listed = ListDevices();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(listed[0].name == "real" || listed[0].name == "impostor") << listed[0].name;
}

} // namespace
} // namespace vanmoor::test
