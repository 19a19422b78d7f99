// Discovery through the exports, with simulated devices on both lans of the test network.
#include "NetworkChanges.h"
#include "SimulatedDevices.h"
#include "UdpPeer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vanmoor::test {
namespace {

using devsim::ReplyMode;
using devsim::ReplyOrder;

// A port-4022 reply of `length` bytes from a device with MAC ending in `id`.
std::vector<std::uint8_t> Reply4022(std::uint8_t id, std::size_t length) {
    std::vector<std::uint8_t> reply(length, 0);
    std::memcpy(reply.data(), "IPCam", 5); // 0: prefix, 5: flag 0
    const std::uint8_t ip[] = {192, 0, 2, 77};
    std::memcpy(&reply[10], ip, 4); // 10: address
    const std::uint8_t mac[] = {0x02, 0x00, 0x5e, 0x00, 0x99, id};
    std::memcpy(&reply[14], mac, 6);   // 14: MAC
    std::memcpy(&reply[32], "raw", 3); // 32: name
    std::memcpy(&reply[50], "80", 2);  // 50: web port
    return reply;
}

// A 328-byte port-32970 datagram of kind `kind` (2 is a reply) from a device with MAC ending in
// `id`, cut or padded to `length`.
std::vector<std::uint8_t> Reply32970(std::uint8_t id, std::uint8_t kind, std::size_t length) {
    std::vector<std::uint8_t> reply(328, 0);
    std::memcpy(reply.data(), "junkjunk", 8); // 0: header, not examined
    reply[14] = kind;                         // 14: kind
    const std::uint8_t mac[] = {0x02, 0x00, 0x5e, 0x00, 0x98, id};
    std::memcpy(&reply[15], mac, 6); // 15: MAC
    const std::uint8_t ip[] = {192, 0, 2, 78};
    std::memcpy(&reply[21], ip, 4);          // 21: address
    std::memcpy(&reply[261], "raw32970", 8); // 261: name
    reply.resize(length, 0);
    return reply;
}

using Discovery = DeviceTest;

TEST_F(Discovery, FindsDevicesOfBothProtocolsThroughBothInterfaces) {
    StartDevices(1, {MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "lan1 plain"),
                     MakeDevice(Protocol::Port32970, 2, {192, 0, 2, 11}, "lan1 secure")});
    StartDevices(2, {MakeDevice(Protocol::Port4022, 3, {198, 51, 100, 10}, "lan2 plain"),
                     MakeDevice(Protocol::Port32970, 4, {198, 51, 100, 11}, "lan2 secure")});
    ASSERT_TRUE(search(kSearchMilliseconds));

    auto listed = ListDevices();
    std::sort(listed.begin(), listed.end(),
              [](const Listed& a, const Listed& b) { return a.name < b.name; });
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(getCounts(), 4);
    EXPECT_EQ(listed[0].name, "lan1 plain");
    EXPECT_EQ(listed[0].ip, "192.0.2.10");
    EXPECT_EQ(listed[0].protocol, 0);
    EXPECT_EQ(listed[1].name, "lan1 secure");
    EXPECT_EQ(listed[1].ip, "192.0.2.11");
    EXPECT_EQ(listed[1].protocol, 1);
    EXPECT_EQ(listed[2].ip, "198.51.100.10");
    EXPECT_EQ(listed[3].ip, "198.51.100.11");
    EXPECT_EQ(listed[3].protocol, 1);
}

TEST_F(Discovery, ADeviceIsListedOnceHoweverOftenAndWhereverItAnswers) {
    SimDevice plain = MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "twice");
    SimDevice secure = plain;
    secure.protocol = Protocol::Port32970;
    ReplyPlan plan;
    plan.repeat = 3;
    StartDevices(1, {plain, secure}, plan);
    StartDevices(2, {plain}, plan);
    ASSERT_TRUE(search(kSearchMilliseconds));

    EXPECT_EQ(getCounts(), 1);
    EXPECT_EQ(IndexOf(MacText(plain)), 0);
}

TEST_F(Discovery, IndexesFollowTheOrderOfFirstReplies) {
    const SimDevice a = MakeDevice(Protocol::Port4022, 0xA, {192, 0, 2, 10}, "A");
    const SimDevice b = MakeDevice(Protocol::Port4022, 0xB, {192, 0, 2, 11}, "B");
    const SimDevice c = MakeDevice(Protocol::Port4022, 0xC, {192, 0, 2, 12}, "C");
    ReplyPlan plan;
    plan.order = ReplyOrder::Explicit;
    plan.permutation = {1, 0, 2};
    StartDevices(1, {a, b, c}, plan);
    ASSERT_TRUE(search(kSearchMilliseconds));

    ASSERT_EQ(getCounts(), 3);
    EXPECT_EQ(IndexOf(MacText(b)), 0);
    EXPECT_EQ(IndexOf(MacText(a)), 1);
    EXPECT_EQ(IndexOf(MacText(c)), 2);
}

TEST_F(Discovery, SearchWaitsItsWholeTimeForAnswers) {
    SimDevice halfway = MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "halfway");
    halfway.replyDelay = std::chrono::milliseconds(kSearchMilliseconds / 2);
    StartDevices(1, {halfway, MakeDevice(Protocol::Port32970, 2, {192, 0, 2, 11}, "at once")});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_GE(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(kSearchMilliseconds));
    EXPECT_EQ(ListDevices().size(), 2u);
}

TEST_F(Discovery, ARequestThatCannotBeSentFailsTheSearch) {
    StartDevices(2, {MakeDevice(Protocol::Port4022, 1, {198, 51, 100, 10}, "lan2")});
    ASSERT_TRUE(search(kSearchMilliseconds));
    ASSERT_EQ(getCounts(), 1);
    {
        // With lan1 down its endpoints cannot bind, and without the default route through it
        // their broadcasts have no way out; lan2's requests still leave.
        const LinkDown down("lan1");
        ClearLog();
        EXPECT_FALSE(search(kSearchMilliseconds));
    }
    EXPECT_NE(Log().find("CBroadCastItem::SendPacket::sendto failed, port = 4022, error = " +
                         std::to_string(ENETUNREACH) + "\n"),
              std::string::npos)
        << Log();
    EXPECT_NE(Log().find("tool->SendPacket(4022) = -5\n"), std::string::npos);
    EXPECT_EQ(getCounts(), 1) << "the table stays as it was";
    EXPECT_EQ(simulators[0]->Datagrams().size(), 4u) << "lan2 got both requests of both searches";
}

TEST_F(Discovery, ALateReplyAppearsAfterTheNextSearchNumberedFromZero) {
    SimDevice late = MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "late");
    late.replyDelay = std::chrono::milliseconds(kSearchMilliseconds + 300);
    Simulator& lan1 = StartDevices(1, {late});
    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(getCounts(), 0);

    // The late reply lands in the pending list between the searches; the device's answer to
    // the second search comes too late again.
    ASSERT_TRUE(WaitUntil([&] { return lan1.Counters().sent >= 1; }));
    const SimDevice prompt = MakeDevice(Protocol::Port4022, 2, {198, 51, 100, 10}, "prompt");
    StartDevices(2, {prompt});
    ASSERT_TRUE(search(kSearchMilliseconds));

    ASSERT_EQ(getCounts(), 2);
    EXPECT_EQ(IndexOf(MacText(late)), 0);
    EXPECT_EQ(IndexOf(MacText(prompt)), 1);
}

TEST_F(Discovery, EveryReplyModeReachesTheLibrary) {
    std::vector<SimDevice> devices;
    const ReplyMode modes[] = {ReplyMode::Broadcast, ReplyMode::SubnetBroadcast,
                               ReplyMode::Unicast};
    std::uint8_t id = 1;
    for (const ReplyMode mode : modes) {
        for (const Protocol protocol : {Protocol::Port4022, Protocol::Port32970}) {
            SimDevice device = MakeDevice(protocol, id, {192, 0, 2, id}, "mode");
            device.replyMode = mode;
            devices.push_back(device);
            ++id;
        }
    }
    StartDevices(1, devices);
    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(ListDevices().size(), devices.size());
}

TEST_F(Discovery, Port4022RepliesCarryWhatTheirLengthAllows) {
    struct Case {
        std::size_t length;
        std::uint8_t type;
        std::array<std::uint8_t, 4> code;
    };
    const Case cases[] = {{56, 91, {}},
                          {69, 91, {}},
                          {70, 200, {}},
                          {71, 200, {}},
                          {71, 100, {}},
                          {219, 91, {}},
                          {220, 200, {0x34, 0x12, 0, 0}},
                          {500, 118, {}}};
    std::vector<SimDevice> devices;
    std::uint8_t id = 1;
    for (const Case& c : cases) {
        SimDevice device = MakeDevice(Protocol::Port4022, id, {192, 0, 2, id}, "len");
        device.replyLength = c.length;
        device.type = c.type;
        device.code = c.code;
        device.dns1 = {9, 9, 9, id};
        device.dns2 = {8, 8, 8, id};
        device.dhcp = true;
        device.version = "v1.2";
        device.brand = "Brand";
        device.model = "Model";
        device.cameraName = "Camera";
        devices.push_back(device);
        ++id;
    }
    StartDevices(1, devices);
    ASSERT_TRUE(search(kSearchMilliseconds));
    ASSERT_EQ(getCounts(), static_cast<int>(devices.size()));

    auto device = [&](std::size_t at) { return IndexOf(MacText(devices[at])); };
    auto text = [](bool (*query)(int, void*, int), int index) {
        char out[80] = {};
        EXPECT_TRUE(query(index, out, sizeof out));
        return std::string(out);
    };
    // 56: base block only.
    EXPECT_EQ(getDNS1Value(device(0)), 0);
    EXPECT_EQ(getDHCP(device(0)), 0);
    EXPECT_EQ(getType(device(0)), 0);
    EXPECT_EQ(text(getDevice, device(0)), "");
    // 69: DNS, no DHCP and type.
    char dns[16] = {};
    ASSERT_TRUE(getDNS1String(device(1), dns, sizeof dns));
    EXPECT_STREQ(dns, "9.9.9.2");
    EXPECT_EQ(getDHCP(device(1)), 0);
    EXPECT_EQ(getType(device(1)), 0);
    // 70: DHCP, and the type byte lies just past the datagram: zero.
    EXPECT_EQ(getDHCP(device(2)), 1);
    EXPECT_EQ(getType(device(2)), 0);
    EXPECT_EQ(text(getDevice, device(2)), "30303030");
    // 71: the type, signed; the code bytes beyond the datagram read as zero.
    EXPECT_EQ(getType(device(3)), -56);
    EXPECT_EQ(text(getDevice, device(3)), "30303030");
    EXPECT_EQ(text(getDevice, device(4)), "00000000");
    // 219: no texts; 220: texts and the code from bytes 71 and 72.
    EXPECT_EQ(text(getVersion, device(5)), "");
    EXPECT_EQ(text(getDevice, device(5)), "30394545");
    EXPECT_EQ(text(getVersion, device(6)), "v1.2");
    EXPECT_EQ(text(getBrand, device(6)), "Brand");
    EXPECT_EQ(text(getModeName, device(6)), "Model");
    EXPECT_EQ(text(getCameraName1, device(6)), "Camera");
    EXPECT_EQ(text(getDevice, device(6)), "31323334");
    EXPECT_EQ(text(getDevice, device(7)), "30344543");
}

TEST_F(Discovery, MalformedRepliesAreRejectedWithTheirLinesAndOthersStillCount) {
    Simulator& lan1 = StartDevices(1, {MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "ok")});
    (void)lan1;
    std::unique_ptr<UdpPeer> rogue;
    RunInLan(1, [&] { rogue = std::make_unique<UdpPeer>(net.lanAddresses[0], 40000); });
    const std::string pc = net.pcAddresses[0];
    ASSERT_TRUE(SearchWhile([&] {
        rogue->SendTo(pc, 4022, Reply4022(1, 55));
        auto flagged = Reply4022(2, 56);
        flagged[5] = 1;
        rogue->SendTo(pc, 4022, flagged);
        auto wrong = Reply4022(3, 56);
        wrong[4] = 'n';
        rogue->SendTo(pc, 4022, wrong);
        rogue->SendTo(pc, 4022, Reply4022(4, 56));
        rogue->SendTo(pc, 32970, Reply32970(5, 2, 327));
        rogue->SendTo(pc, 32970, Reply32970(6, 2, 329));
        rogue->SendTo(pc, 32970, Reply32970(7, 1, 328));
        rogue->SendTo(pc, 32970, Reply32970(8, 2, 328));
        rogue->SendTo(pc, 32970, std::vector<std::uint8_t>(501, 2));
    }));

    const std::string log = Log();
    EXPECT_NE(log.find("CParserImp_4022port(4022)::ParserPackage::Packet size less than 55\n"),
              std::string::npos);
    EXPECT_NE(log.find("CParserImp_4022port(4022)::ParserPackage::IPFLAG not zero\n"),
              std::string::npos);
    EXPECT_NE(log.find("CParserImp_4022port(4022)::ParserPackage::Get wrong packet\n"),
              std::string::npos);
    std::size_t wrongLength = 0;
    for (std::size_t at = 0;
         (at = log.find("CParserImp_32970port::ParserPackage(32970)::Get Wrong packet\n", at)) !=
         std::string::npos;
         ++at) {
        ++wrongLength;
    }
    EXPECT_EQ(wrongLength, 2u);
    EXPECT_NE(log.find("CBroadCastItem::RecvPacket::recvfrom("), std::string::npos);

    // The simulated device, the 56-byte reply and the 328-byte reply with a foreign header.
    EXPECT_EQ(getCounts(), 3);
    EXPECT_GE(IndexOf("2-0-94-0-153-4"), 0);
    EXPECT_GE(IndexOf("2-0-94-0-152-8"), 0);
    EXPECT_EQ(IndexOf("2-0-94-0-152-7"), -1) << "a search request is no reply";
}

TEST_F(Discovery, TheInterfaceFilterHidesDevicesOfOtherInterfacesButTheyStillCount) {
    const SimDevice near = MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "near");
    const SimDevice far = MakeDevice(Protocol::Port32970, 2, {198, 51, 100, 10}, "far");
    StartDevices(1, {near});
    StartDevices(2, {far});
    ASSERT_TRUE(setIPSearch(1, net.pcAddresses[0].c_str()));
    ASSERT_TRUE(search(kSearchMilliseconds));

    EXPECT_EQ(getCounts(), 2);
    const auto listed = ListDevices();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "near");

    const int hidden = listed[0].index == 0 ? 1 : 0;
    char text[32] = "untouched";
    char protocol = 9;
    EXPECT_FALSE(getMacString(hidden, text, sizeof text));
    EXPECT_FALSE(getIPString_DetVer(hidden, text, sizeof text, &protocol));
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(protocol, 9);
    EXPECT_EQ(getPort(hidden), 0);

    ASSERT_TRUE(setIPSearch(0, ""));
    EXPECT_EQ(ListDevices().size(), 2u) << "the filter is a view; the table keeps both";
}

TEST_F(Discovery, TheAgeLimitEmptiesEntriesThatKeepTheirPlace) {
    StartDevices(1, {MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "old")});
    setSaveOption(1, 60);
    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(ListDevices().size(), 1u);

    // Replies come at once and the update follows more than a second later: older than 0 s.
    setSaveOption(1, 0);
    ASSERT_TRUE(search(kSearchMilliseconds + 100));
    EXPECT_EQ(getCounts(), 1);
    char text[32] = {};
    EXPECT_FALSE(getMacString(0, text, sizeof text));
    EXPECT_FALSE(getName(0, text, sizeof text));
    EXPECT_EQ(getIPValue(0), 0);
    EXPECT_EQ(getDHCP(0), 0);

    setSaveOption(0, 0);
    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(ListDevices().size(), 1u);
}

TEST_F(Discovery, QueriesFormatTheRecordAndNeverWritePastTheCallersBuffer) {
    SimDevice device = MakeDevice(Protocol::Port32970, 1, {10, 0, 0, 1}, "");
    device.mac = {0x00, 0x1A, 0xFF, 0x00, 0x00, 0x01};
    device.name = std::string(32, 'N');
    device.netmask = {255, 0, 0, 0};
    device.gateway = {10, 0, 0, 254};
    device.webPort = 8080;
    StartDevices(1, {device});
    ASSERT_TRUE(search(kSearchMilliseconds));
    ASSERT_EQ(getCounts(), 1);

    char text[30];
    ASSERT_TRUE(getMacString(0, text, sizeof text));
    EXPECT_STREQ(text, "0-26-255-0-0-1");
    ASSERT_TRUE(getIPString(0, text, sizeof text));
    EXPECT_STREQ(text, "010.000.000.001");
    char protocol = 0;
    ASSERT_TRUE(getIPString_DetVer(0, text, sizeof text, &protocol));
    EXPECT_STREQ(text, "10.0.0.1");
    EXPECT_EQ(protocol, 1);
    EXPECT_EQ(getIPValue(0), 16777226);
    EXPECT_EQ(getNetMaskValue(0), 255);
    EXPECT_EQ(getGateWayValue(0), static_cast<int>(0xFE00000Au));
    EXPECT_EQ(getPort(0), 8080);
    EXPECT_EQ(getType(0), 0);

    // Byte copies: at most the field's width, nothing added.
    std::memset(text, '#', sizeof text);
    ASSERT_TRUE(getName(0, text, 30));
    EXPECT_EQ(std::string(text, 23), std::string(23, 'N'));
    EXPECT_EQ(std::string(text + 23, 7), std::string(7, '#'));
    std::memset(text, '#', sizeof text);
    ASSERT_TRUE(getName(0, text, 4));
    EXPECT_EQ(std::string(text, 6), "NNNN##");

    // Texts are cut and terminated within outSize.
    std::memset(text, '#', sizeof text);
    ASSERT_TRUE(getIPString(0, text, 5));
    EXPECT_EQ(std::string(text, 6), std::string("010.\0#", 6));
    ASSERT_TRUE(getMacString(0, text, 1));
    EXPECT_EQ(text[0], '\0');

    // Arguments no caller should pass fail like a miss.
    EXPECT_FALSE(getIPString(0, nullptr, 30));
    EXPECT_FALSE(getIPString(0, text, 0));
    EXPECT_FALSE(getIPString_DetVer(0, text, sizeof text, nullptr));
    EXPECT_FALSE(getName(0, text, -1));
    EXPECT_FALSE(getName(0, nullptr, 4));
    EXPECT_FALSE(getName(1, text, 4));
    EXPECT_FALSE(getName(-1, text, 4));
}

} // namespace
} // namespace vanmoor::test
