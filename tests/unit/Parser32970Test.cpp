#include "LogCapture.h"
#include "ParserTestSupport.h"

#include "transport/DiscoveryRequests.h"
#include "transport/Parser32970.h"

#include <string>

namespace vanmoor::test {
namespace {

constexpr int kPort = 32970;

// A reply with every field; 0xAA fills the bytes that are not read.
Datagram FullReply() {
    Datagram d(328, 0xAA);
    PutText(d, 0, "3297");                               // 0: header
    PutText(d, 4, std::string("V1.00\0\0\0", 8));        // 4: version
    Put(d, 12, {0x48, 0x01});                            // 12: length 328
    Put(d, 14, {0x02});                                  // 14: kind: reply
    Put(d, 15, {0, 0x11, 0x22, 0x33, 0x44, 0x55});       // 15: MAC
    Put(d, 21, {192, 168, 1, 10});                       // 21: address
    Put(d, 25, {255, 255, 0, 0});                        // 25: netmask
    Put(d, 29, {192, 168, 1, 1});                        // 29: gateway
    Put(d, 33, {9, 9, 9, 9});                            // 33: DNS1
    Put(d, 37, {4, 4, 4, 4});                            // 37: DNS2
    Put(d, 41, {1});                                     // 41: DHCP on
    Put(d, 42, {0x50, 0, 0, 0});                         // 42: web port 80
    Put(d, 46, {0xFF, 0xFF, 0xFF, 0xFF});                // 46: second port -1
    PutText(d, 173, "Firmware-1.2.3-x");                 // 173: version, 16 bytes
    PutText(d, 197, std::string(32, 'B'));               // 197: brand
    PutText(d, 229, std::string(32, 'M'));               // 229: model name
    PutText(d, 261, "Lobby-camera-with-a-32-byte-name"); // 261: name, 32 bytes
    return d;
}

class Parser32970Test : public LoggedTest {
protected:
    void Parse(const Datagram& datagram, int len) {
        parser.ParserPackage(ReceiveBuffer(datagram), len, "198.51.100.1", kPort);
    }

    RecordingSink sink;
    CParserImp_32970port parser{&sink};
};

TEST_F(Parser32970Test, OnlyRepliesOfExactly328BytesAreTaken) {
    parser.ParserPackage(nullptr, 328, "198.51.100.1", kPort);
    EXPECT_EQ(TakeLibraryLog(), "CParserImp_32970port::ParserPackage(32970)::buf is NULL\n");

    for (int len : {327, 329, 0, -1, 500, 501}) {
        Parse(FullReply(), len);
        EXPECT_EQ(TakeLibraryLog(),
                  "CParserImp_32970port::ParserPackage(32970)::Get Wrong packet\n")
            << "len " << len;
    }
    EXPECT_TRUE(sink.records.empty());
}

// This host's own request and command, should they come back, and any other kind.
TEST_F(Parser32970Test, OtherKindsAreDroppedSilently) {
    const Datagram32970 request = MakeSearchRequest32970();
    Parse(Datagram(request.begin(), request.end()), 328);
    for (std::uint8_t kind : {0x00, 0x01, 0x03, 0x82}) {
        Datagram reply = FullReply();
        reply[14] = kind;
        Parse(reply, 328);
    }
    EXPECT_TRUE(sink.records.empty());
    EXPECT_EQ(TakeLibraryLog(), "");
}

TEST_F(Parser32970Test, ReplyFillsItsFieldsAndLeavesTheOthersEmpty) {
    Datagram reply = FullReply();
    PutText(reply, 0, "XXXXV9.99ZZZ\x01\x01"); // the header is not examined
    Parse(reply, 328);
    ASSERT_EQ(sink.records.size(), 1u);
    const DeviceRecord& r = *sink.records[0];
    EXPECT_EQ(TakeLibraryLog(), "");

    EXPECT_EQ(r.m_MAC, (MacBytes{0, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(r.m_IP, (Ipv4Bytes{192, 168, 1, 10}));
    EXPECT_EQ(r.m_NetMask, (Ipv4Bytes{255, 255, 0, 0}));
    EXPECT_EQ(r.m_GateWay, (Ipv4Bytes{192, 168, 1, 1}));
    EXPECT_EQ(r.m_DNS1, (Ipv4Bytes{9, 9, 9, 9}));
    EXPECT_EQ(r.m_DNS2, (Ipv4Bytes{4, 4, 4, 4}));
    EXPECT_TRUE(r.m_DHCPAlt);
    EXPECT_EQ(r.m_Port, 80);
    EXPECT_EQ(r.m_Port2, -1);
    EXPECT_EQ(std::string(r.m_Version.data()), "Firmware-1.2.3-x");
    EXPECT_EQ(std::string(r.m_Brand.data()), std::string(32, 'B'));
    EXPECT_EQ(std::string(r.m_ModeName.data(), r.m_ModeName.size()), std::string(32, 'M') + '\0');
    EXPECT_EQ(std::string(r.m_Name.data(), r.m_Name.size()), "Lobby-camera-with-a-32-");
    EXPECT_EQ(r.m_Protocol, 1);
    EXPECT_EQ(r.m_LocalIP, "198.51.100.1");

    EXPECT_EQ(r.m_HasDNS, 0);
    EXPECT_FALSE(r.m_DHCP);
    EXPECT_EQ(r.m_Reserved1, (std::array<std::uint8_t, 4>{}));
    EXPECT_EQ(r.m_Type, 0);
    EXPECT_EQ(r.m_Device, (std::array<char, 10>{}));
    EXPECT_FALSE(r.m_Reserved2);
    EXPECT_EQ(r.m_CameraName1, (std::array<char, 65>{}));
    EXPECT_EQ(r.m_LastSeen, 0); // stamped by the manager
}

TEST_F(Parser32970Test, OnlyDhcpByteOneMeansOn) {
    for (std::uint8_t dhcp : {0, 1, 2, 0xFF}) {
        Datagram reply = FullReply();
        reply[41] = dhcp;
        Parse(reply, 328);
        ASSERT_FALSE(sink.records.empty());
        EXPECT_EQ(sink.records.back()->m_DHCPAlt, dhcp == 1) << int{dhcp};
    }
}

// Whatever fails while a reply is handed over stays inside the parser, on the receive thread.
TEST_F(Parser32970Test, FailureInsideIsCaughtAndLogged) {
    ThrowingSink throwing;
    CParserImp_32970port failing(&throwing);
    failing.ParserPackage(ReceiveBuffer(FullReply()), 328, "192.0.2.1", kPort);
    EXPECT_EQ(TakeLibraryLog(), "CParserImp_32970port::ParserPackage(32970) catch failed\n");
}

} // namespace
} // namespace vanmoor::test
