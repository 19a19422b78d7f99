// The UDP endpoint through real sockets in the private test network.
#include "transport/BroadCastItem.h"
#include "NetworkChanges.h"
#include "LogDirectory.h"
#include "TestNetwork.h"
#include "UdpPeer.h"
#include "core/LibraryLog.h"
#include "platform/InterfaceAddresses.h"

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace vanmoor {
namespace {

using namespace std::chrono_literals;
using test::Datagram;
using test::RunInLan;
using test::TestNetwork;
using test::UdpPeer;

constexpr int kPort = 4022;
constexpr auto kPatience = 5s;   // generous: only a fault makes a test wait this long
constexpr auto kSilence = 300ms; // how long "nothing arrives" is watched

struct Parsed {
    std::string bytes;
    int length;
    std::string localIP;
    int port;
};

// A parser that records what the endpoint hands it.
class RecordingParser final : public CParserBase {
public:
    struct Log {
        std::mutex mutex;
        std::condition_variable arrived;
        std::vector<Parsed> parsed;

        bool WaitFor(std::size_t count, std::chrono::milliseconds patience) {
            std::unique_lock<std::mutex> lock(mutex);
            return arrived.wait_for(lock, patience, [&] { return parsed.size() >= count; });
        }
        std::size_t Count() {
            std::lock_guard<std::mutex> lock(mutex);
            return parsed.size();
        }
    };

    explicit RecordingParser(std::shared_ptr<Log> log)
        : CParserBase(nullptr), m_Log(std::move(log)) {}

    void ParserPackage(std::unique_ptr<char[]> buf, int len, std::string localIP,
                       int port) override {
        {
            std::lock_guard<std::mutex> lock(m_Log->mutex);
            m_Log->parsed.push_back({std::string(buf.get(), kBufferSize), len, localIP, port});
        }
        m_Log->arrived.notify_all();
    }

private:
    std::shared_ptr<Log> m_Log;
};

// The recording parsers hand nothing on.
class NoSink final : public PackageSink {
public:
    void PushPackage(std::unique_ptr<DeviceRecord>) override {}
};

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

class BroadCastItemTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_Logs = new test::LogDirectory;
        s_Logs->Configure("file 0");
        LibraryLog().ReadLogConfig();
    }
    static void TearDownTestSuite() {
        delete s_Logs;
        s_Logs = nullptr;
    }
    void SetUp() override { s_Logs->Clear("Log.txt"); }

    std::string Log() const { return s_Logs->Read("Log.txt"); }

    // An endpoint as a search makes it, with every local address listed.
    std::unique_ptr<CBroadCastItem> MakeEndpoint(const std::string& localIP,
                                                 std::shared_ptr<RecordingParser::Log> log) {
        const auto interfaces = platform::LocalIpv4Addresses();
        std::vector<std::string> listed;
        for (const auto& local : interfaces) {
            listed.push_back(local.address);
        }
        return std::make_unique<CBroadCastItem>(
            kPort, std::make_unique<RecordingParser>(log), localIP,
            ReplyRouting::ForEndpoint(m_NoSink, listed, localIP, interfaces));
    }

    // A peer on lan `lan` bound to the protocol port on every address, as a device would be.
    static std::unique_ptr<UdpPeer> DeviceOnLan(int lan) {
        std::unique_ptr<UdpPeer> peer;
        RunInLan(lan, [&] { peer = std::make_unique<UdpPeer>("0.0.0.0", kPort); });
        return peer;
    }

    const TestNetwork& net = TestNetwork::Get();
    static test::LogDirectory* s_Logs;

private:
    NoSink m_NoSink;
};

test::LogDirectory* BroadCastItemTest::s_Logs = nullptr;

TEST_F(BroadCastItemTest, BroadcastLeavesThroughItsOwnInterfaceFromItsAddressAndPort) {
    auto log = std::make_shared<RecordingParser::Log>();
    auto endpoint = MakeEndpoint(net.pcAddresses[0], log);
    ASSERT_TRUE(endpoint->HasReceiveThread());
    auto lan1 = DeviceOnLan(1);
    auto lan2 = DeviceOnLan(2);

    ASSERT_EQ(endpoint->SendPacket("search", 6), 0);

    const auto received = lan1->Receive(kPatience);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->bytes, Bytes("search"));
    EXPECT_EQ(received->sourceAddress, net.pcAddresses[0]);
    EXPECT_EQ(received->sourcePort, kPort);
    EXPECT_FALSE(lan2->Receive(kSilence)) << "the broadcast left through the other interface";
    EXPECT_NE(Log().find("CBroadCastItem::SendPacket port = 4022, len = 6\n"), std::string::npos);
}

TEST_F(BroadCastItemTest, RepliesReachOnlyTheEndpointOfTheInterfaceTheyArriveOn) {
    auto log1 = std::make_shared<RecordingParser::Log>();
    auto log2 = std::make_shared<RecordingParser::Log>();
    auto endpoint1 = MakeEndpoint(net.pcAddresses[0], log1);
    auto endpoint2 = MakeEndpoint(net.pcAddresses[1], log2);
    auto lan1 = DeviceOnLan(1);
    auto lan2 = DeviceOnLan(2);

    // In this order on one path: whatever could reach endpoint 2 is handled before the last
    // datagram reaches endpoint 1. A datagram addressed to endpoint 2's address belongs to
    // neither: it arrived on an interface that does not carry its address.
    lan1->SendTo("255.255.255.255", kPort, Bytes("limited broadcast"));
    lan1->SendTo(net.pcAddresses[0], kPort, Bytes("unicast"));
    lan1->SendTo(net.pcAddresses[1], kPort, Bytes("to the other address"));
    lan1->SendTo("192.0.2.255", kPort, Bytes("subnet broadcast"));
    ASSERT_TRUE(log1->WaitFor(3, kPatience));

    // A marker from lan 2 queues behind anything that reached endpoint 2 before it.
    lan2->SendTo(net.pcAddresses[1], kPort, Bytes("marker"));
    ASSERT_TRUE(log2->WaitFor(1, kPatience));

    std::lock_guard<std::mutex> lock1(log1->mutex);
    ASSERT_EQ(log1->parsed.size(), 3u);
    EXPECT_EQ(log1->parsed[0].bytes.substr(0, 17), "limited broadcast");
    EXPECT_EQ(log1->parsed[1].bytes.substr(0, 7), "unicast");
    EXPECT_EQ(log1->parsed[2].bytes.substr(0, 16), "subnet broadcast");
    for (const Parsed& parsed : log1->parsed) {
        EXPECT_EQ(parsed.localIP, net.pcAddresses[0]);
        EXPECT_EQ(parsed.port, kPort);
    }
    std::lock_guard<std::mutex> lock2(log2->mutex);
    ASSERT_EQ(log2->parsed.size(), 1u);
    EXPECT_EQ(log2->parsed[0].bytes.substr(0, 6), "marker");
    EXPECT_EQ(log2->parsed[0].localIP, net.pcAddresses[1]);
}

TEST_F(BroadCastItemTest, TwoAddressesOnOneInterfaceShareItsDatagramsWithoutDoubles) {
    const test::ExtraAddress second("203.0.113.1/24", "lan1");
    auto firstLog = std::make_shared<RecordingParser::Log>();
    auto secondLog = std::make_shared<RecordingParser::Log>();
    auto first = MakeEndpoint(net.pcAddresses[0], firstLog);
    auto secondEndpoint = MakeEndpoint("203.0.113.1", secondLog);
    ASSERT_TRUE(first->HasReceiveThread());
    ASSERT_TRUE(secondEndpoint->HasReceiveThread());
    auto lan1 = DeviceOnLan(1);

    // Both sockets receive every broadcast, but a unicast reaches only one of them, whichever
    // address it was sent to.
    lan1->SendTo("203.0.113.1", kPort, Bytes("to second"));
    lan1->SendTo(net.pcAddresses[0], kPort, Bytes("to first"));
    lan1->SendTo("255.255.255.255", kPort, Bytes("limited broadcast"));
    lan1->SendTo("192.0.2.255", kPort, Bytes("subnet broadcast"));
    const auto total = [&] { return firstLog->Count() + secondLog->Count(); };
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (total() < 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    std::this_thread::sleep_for(kSilence);

    std::map<std::string, std::vector<std::string>> creditedTo; // text -> addresses
    for (const auto& log : {firstLog, secondLog}) {
        std::lock_guard<std::mutex> lock(log->mutex);
        for (const Parsed& parsed : log->parsed) {
            creditedTo[parsed.bytes.c_str()].push_back(parsed.localIP);
        }
    }
    using Addresses = std::vector<std::string>;
    EXPECT_EQ(creditedTo["to second"], Addresses{"203.0.113.1"});
    EXPECT_EQ(creditedTo["to first"], Addresses{net.pcAddresses[0]});
    // Taken once, by the endpoint of the interface's first address.
    EXPECT_EQ(creditedTo["limited broadcast"], Addresses{net.pcAddresses[0]});
    EXPECT_EQ(creditedTo["subnet broadcast"], Addresses{net.pcAddresses[0]});
    EXPECT_EQ(total(), 4u);
}

TEST_F(BroadCastItemTest, ParserGetsTheBytesFollowedByZerosAndTheirCount) {
    auto log = std::make_shared<RecordingParser::Log>();
    auto endpoint = MakeEndpoint(net.pcAddresses[0], log);
    auto lan1 = DeviceOnLan(1);
    const std::vector<std::uint8_t> reply(500, 0xAB);
    lan1->SendTo(net.pcAddresses[0], kPort, Bytes("abc"));
    lan1->SendTo(net.pcAddresses[0], kPort, reply);
    ASSERT_TRUE(log->WaitFor(2, kPatience));

    std::lock_guard<std::mutex> lock(log->mutex);
    EXPECT_EQ(log->parsed[0].length, 3);
    EXPECT_EQ(log->parsed[0].bytes, std::string("abc") + std::string(497, '\0'));
    EXPECT_EQ(log->parsed[1].length, 500);
    EXPECT_EQ(log->parsed[1].bytes, std::string(500, '\xAB'));
}

TEST_F(BroadCastItemTest, OversizedDatagramIsDroppedWithItsLineAndTheNextIsParsed) {
    auto log = std::make_shared<RecordingParser::Log>();
    auto endpoint = MakeEndpoint(net.pcAddresses[0], log);
    auto lan1 = DeviceOnLan(1);
    lan1->SendTo(net.pcAddresses[0], kPort, std::vector<std::uint8_t>(501, 'x'));
    lan1->SendTo(net.pcAddresses[0], kPort, Bytes("next"));
    ASSERT_TRUE(log->WaitFor(1, kPatience));

    EXPECT_EQ(log->Count(), 1u);
    std::lock_guard<std::mutex> lock(log->mutex);
    EXPECT_EQ(log->parsed[0].bytes.substr(0, 5), std::string("next\0", 5));
    const std::string line = "CBroadCastItem::RecvPacket::recvfrom(";
    const auto at = Log().find(line);
    ASSERT_NE(at, std::string::npos) << Log();
    EXPECT_NE(Log().find(") failed, error = " + std::to_string(EMSGSIZE) + "\n", at),
              std::string::npos);
}

TEST_F(BroadCastItemTest, DatagramsSentWhilePausedArriveAfterTheResume) {
    auto log = std::make_shared<RecordingParser::Log>();
    auto endpoint = MakeEndpoint(net.pcAddresses[0], log);
    auto lan1 = DeviceOnLan(1);
    endpoint->SetPause(true);
    for (const char* text : {"one", "two", "three"}) {
        lan1->SendTo(net.pcAddresses[0], kPort, Bytes(text));
    }
    EXPECT_FALSE(log->WaitFor(1, kSilence)) << "a paused endpoint parsed a datagram";

    endpoint->SetPause(false);
    ASSERT_TRUE(log->WaitFor(3, kPatience));
    std::lock_guard<std::mutex> lock(log->mutex);
    EXPECT_EQ(log->parsed[0].length, 3);
    EXPECT_EQ(log->parsed[2].length, 5);
}

TEST_F(BroadCastItemTest, PauseAndResumeInQuickSuccessionNeverStrandTheLoop) {
    auto log = std::make_shared<RecordingParser::Log>();
    auto endpoint = MakeEndpoint(net.pcAddresses[0], log);
    auto lan1 = DeviceOnLan(1);
    for (int round = 1; round <= 200; ++round) {
        endpoint->SetPause(true);
        endpoint->SetPause(false);
    }
    lan1->SendTo(net.pcAddresses[0], kPort, Bytes("after"));
    EXPECT_TRUE(log->WaitFor(1, kPatience));
}

TEST_F(BroadCastItemTest, PausedEndpointIsDestroyedPromptly) {
    auto log = std::make_shared<RecordingParser::Log>();
    auto endpoint = MakeEndpoint(net.pcAddresses[0], log);
    endpoint->SetPause(true);
    auto destroyed = std::async(std::launch::async, [&] { endpoint.reset(); });
    ASSERT_EQ(destroyed.wait_for(kPatience), std::future_status::ready)
        << "destruction did not end a paused receive loop";
    const std::string text = Log();
    EXPECT_NE(text.find("CBroadCastItem::~CBroadCastItem() begin\n"), std::string::npos);
    EXPECT_NE(text.find("CBroadCastItem::~CBroadCastItem() end\n"), std::string::npos);
}

TEST_F(BroadCastItemTest, AddressNotOwnedLogsTheBindLineAndLeavesNoThread) {
    auto log = std::make_shared<RecordingParser::Log>();
    auto endpoint = MakeEndpoint("203.0.113.9", log);
    EXPECT_FALSE(endpoint->HasReceiveThread());
    EXPECT_NE(Log().find("CBroadCastItem::CBroadCastItem::RecvPacket::bind failed, error = " +
                         std::to_string(EADDRNOTAVAIL)),
              std::string::npos)
        << Log();

    s_Logs->Clear("Log.txt");
    auto destroyed = std::async(std::launch::async, [&] { endpoint.reset(); });
    ASSERT_EQ(destroyed.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(Log(), "CBroadCastItem::~CBroadCastItem() begin\n"
                     "CBroadCastItem::~CBroadCastItem() end\n");
}

TEST_F(BroadCastItemTest, SendPacketResultCodes) {
    auto log = std::make_shared<RecordingParser::Log>();
    auto working = MakeEndpoint(net.pcAddresses[0], log);
    EXPECT_EQ(working->SendPacket("x", 1), 0);

    s_Logs->Clear("Log.txt");
    EXPECT_EQ(working->SendPacket(nullptr, 72), -4);
    EXPECT_EQ(Log(), "CBroadCastItem::SendPacket port = 4022, len = 72\n"
                     "CBroadCastItem::SendPacket::send package is NULL\n"
                     "CBroadCastItem::SendPacket catch failed\n");

    // One descriptor left: the socket takes it and its wake-up descriptor fails, so the endpoint
    // has no socket (and cannot broadcast), while the log line still finds a descriptor.
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    rlimit few = saved;
    few.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
    std::vector<int> filler;
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) {
        filler.push_back(fd);
    }
    close(filler.back());
    filler.pop_back();
    auto broken = MakeEndpoint(net.pcAddresses[0], log);
    for (const int fd : filler) {
        close(fd);
    }
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_FALSE(broken->HasReceiveThread());
    EXPECT_NE(Log().find("CBroadCastItem::SetTargerInfo::socket failed, error = " +
                         std::to_string(EMFILE)),
              std::string::npos)
        << Log();
    EXPECT_EQ(broken->SendPacket("x", 1), -2);
    EXPECT_EQ(broken->SendPacket(nullptr, 1), -2);
}

} // namespace
} // namespace vanmoor
