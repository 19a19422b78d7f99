#include "LogCapture.h"
#include "ParserTestSupport.h"

#include "transport/DiscoveryRequests.h"
#include "transport/Parser4022.h"

#include <climits>
#include <ctime>
#include <string>

namespace vanmoor::test {
namespace {

constexpr int kPort = 4022;

// A reply carrying every block, with 0xAA in the bytes that are not read and 'Z' past the end
// of the last block, so that a field read from a wrong offset shows.
Datagram FullReply() {
    Datagram d(230, 0xAA);
    PutText(d, 0, "IPCam");                        // 0: prefix
    Put(d, 5, {0});                                // 5: IPFLAG
    Put(d, 6, {1, 2, 3, 4});                       // 6: reserved
    Put(d, 10, {10, 0, 0, 7});                     // 10: address
    Put(d, 14, {0, 0x11, 0x22, 0x33, 0x44, 0x55}); // 14: MAC
    Put(d, 20, {255, 255, 255, 0});                // 20: netmask; 24..26 not read
    Put(d, 27, {10, 0, 0, 1});                     // 27: gateway; 31 not read
    PutText(d, 32, "FrontDoorCamera-18");          // 32: name, all 18 bytes
    PutText(d, 50, std::string("8080\0", 5));      // 50: web port
    PutText(d, 55, "12345");                       // 55: second port, no terminator
    Put(d, 60, {'7'});                             // 60: not read; a digit
    Put(d, 61, {8, 8, 8, 8});                      // 61: DNS1
    Put(d, 65, {1, 1, 1, 1});                      // 65: DNS2
    Put(d, 69, {7});                               // 69: DHCP (nonzero: on)
    Put(d, 70, {200});                             // 70: type (signed: -56)
    Put(d, 71, {0x34, 0x12, 0x56, 0x78});          // 71: code bytes
    PutText(d, 75, "V2.18.0-build-77");            // 75: version, 16 bytes
    PutText(d, 91, std::string(32, 'B'));          // 91: brand
    PutText(d, 123, std::string(32, 'M'));         // 123: model name
    Put(d, 155, {1});                              // 155: flag
    PutText(d, 156, std::string(64, 'C'));         // 156: camera name
    PutText(d, 220, std::string(10, 'Z'));         // 220: ignored
    return d;
}

class Parser4022Test : public LoggedTest {
protected:
    // Parses the first `length` bytes of `datagram` (zeros after them), with `len` as the count.
    void Parse(const Datagram& datagram, std::size_t length, int len) {
        parser.ParserPackage(ReceiveBuffer(datagram, length), len, "192.0.2.1", kPort);
    }
    void Parse(const Datagram& datagram, int len) { Parse(datagram, datagram.size(), len); }

    RecordingSink sink;
    CParserImp_4022port parser{&sink};
};

TEST_F(Parser4022Test, EachCheckRejectsWithItsOwnLineInOrder) {
    parser.ParserPackage(nullptr, 100, "192.0.2.1", kPort);
    EXPECT_EQ(TakeLibraryLog(), "CParserImp_4022port(4022)::ParserPackage buf is NULL\n");

    const std::string wrongPacket = "CParserImp_4022port(4022)::ParserPackage::Get wrong packet\n";
    for (std::size_t i = 0; i < 5; ++i) {
        Datagram reply = FullReply();
        reply[i] ^= 0x20; // "iPCam", "IpCam", ...
        Parse(reply, 230);
        EXPECT_EQ(TakeLibraryLog(), wrongPacket) << "prefix byte " << i;
    }
    const SearchRequest4022 request = MakeSearchRequest4022();
    Parse(Datagram(request.begin(), request.end()), static_cast<int>(request.size()));
    EXPECT_EQ(TakeLibraryLog(), wrongPacket);

    const std::string flagLine = "CParserImp_4022port(4022)::ParserPackage::IPFLAG not zero\n";
    Datagram flagged = FullReply();
    flagged[5] = 1;
    Parse(flagged, 230);
    EXPECT_EQ(TakeLibraryLog(), flagLine);
    Parse(flagged, 10); // the flag is tested before the length
    EXPECT_EQ(TakeLibraryLog(), flagLine);

    const std::string shortLine =
        "CParserImp_4022port(4022)::ParserPackage::Packet size less than 55\n";
    for (int len : {55, 6, 0, -1, INT_MIN}) {
        Parse(FullReply(), len);
        EXPECT_EQ(TakeLibraryLog(), shortLine) << "len " << len;
    }
    EXPECT_TRUE(sink.records.empty());
}

TEST_F(Parser4022Test, FullReplyFillsEveryField) {
    const std::time_t before = std::time(nullptr);
    Parse(FullReply(), 230);
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(sink.records.size(), 1u);
    const DeviceRecord& r = *sink.records[0];
    EXPECT_EQ(TakeLibraryLog(), "");

    EXPECT_EQ(r.m_Reserved1, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(r.m_IP, (Ipv4Bytes{10, 0, 0, 7}));
    EXPECT_EQ(r.m_MAC, (MacBytes{0, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(r.m_NetMask, (Ipv4Bytes{255, 255, 255, 0}));
    EXPECT_EQ(r.m_GateWay, (Ipv4Bytes{10, 0, 0, 1}));
    EXPECT_EQ(std::string(r.m_Name.data()), "FrontDoorCamera-18");
    EXPECT_EQ(r.m_Port, 8080);
    EXPECT_EQ(r.m_Port2, 12345);
    EXPECT_EQ(r.m_HasDNS, 1);
    EXPECT_EQ(r.m_DNS1, (Ipv4Bytes{8, 8, 8, 8}));
    EXPECT_EQ(r.m_DNS2, (Ipv4Bytes{1, 1, 1, 1}));
    EXPECT_TRUE(r.m_DHCPAlt);
    EXPECT_TRUE(r.m_DHCP);
    EXPECT_EQ(r.m_Type, -56);
    EXPECT_EQ(std::string(r.m_Device.data()), "31323334"); // code "1234"
    EXPECT_EQ(std::string(r.m_Version.data()), "V2.18.0-build-77");
    EXPECT_EQ(std::string(r.m_Brand.data()), std::string(32, 'B'));
    EXPECT_EQ(std::string(r.m_ModeName.data()), std::string(32, 'M'));
    EXPECT_TRUE(r.m_Reserved2);
    EXPECT_EQ(std::string(r.m_CameraName1.data()), std::string(64, 'C'));
    EXPECT_EQ(r.m_Protocol, 0);
    EXPECT_EQ(r.m_LocalIP, "192.0.2.1");
    EXPECT_GE(r.m_LastSeen, before);
    EXPECT_LE(r.m_LastSeen, after);
}

TEST_F(Parser4022Test, DhcpOffComesFromItsOwnByte) {
    Datagram reply = FullReply();
    reply[69] = 0;
    for (int len : {70, 230}) {
        SCOPED_TRACE(len);
        sink.records.clear();
        Parse(reply, len);
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_FALSE(sink.records[0]->m_DHCP);
        EXPECT_TRUE(sink.records[0]->m_DHCPAlt) << "the block is there";
    }
}

// Each block is read from the length on which it starts to count; `len` decides, not the bytes.
TEST_F(Parser4022Test, BlocksFollowTheLengthBoundaries) {
    for (int len : {56, 68, 69, 70, 219, 220, 500, 501, INT_MAX}) {
        SCOPED_TRACE(len);
        sink.records.clear();
        Parse(FullReply(), len);
        ASSERT_EQ(sink.records.size(), 1u);
        const DeviceRecord& r = *sink.records[0];
        EXPECT_EQ(r.m_IP, (Ipv4Bytes{10, 0, 0, 7}));
        EXPECT_EQ(r.m_Port2, 12345);

        const bool dns = len >= 69, dhcp = len >= 70, texts = len >= 220;
        EXPECT_EQ(r.m_HasDNS, dns ? 1 : 0);
        EXPECT_EQ(r.m_DNS2, (dns ? Ipv4Bytes{1, 1, 1, 1} : Ipv4Bytes{}));
        EXPECT_EQ(r.m_DHCPAlt, dhcp);
        EXPECT_EQ(r.m_DHCP, dhcp);
        EXPECT_EQ(r.m_Type, dhcp ? -56 : 0);
        EXPECT_EQ(std::string(r.m_Device.data()), dhcp ? "31323334" : "");
        EXPECT_EQ(std::string(r.m_Version.data()), texts ? "V2.18.0-build-77" : "");
        EXPECT_EQ(r.m_Reserved2, texts);
        EXPECT_EQ(std::string(r.m_CameraName1.data()), texts ? std::string(64, 'C') : "");
    }
}

// As the endpoint delivers short replies: bytes past the end read as zero.
TEST_F(Parser4022Test, CodeBytesPastTheEndReadAsZero) {
    const struct {
        std::size_t length;
        std::uint8_t type;
        const char* device;
    } cases[] = {
        {70, 100, "30303030"}, // the type byte itself is past the end: type 0, code "0000"
        {71, 100, "00000000"}, // raw code bytes, all zero
        {71, 200, "30303030"}, // bytes 71 and 72 as a number: "0000"
    };
    for (const auto& c : cases) {
        Datagram reply = FullReply();
        reply[70] = c.type;
        Parse(reply, c.length, static_cast<int>(c.length));
        ASSERT_FALSE(sink.records.empty());
        EXPECT_TRUE(sink.records.back()->m_DHCPAlt);
        EXPECT_EQ(std::string(sink.records.back()->m_Device.data()), c.device) << c.length;
    }
}

TEST_F(Parser4022Test, PortFieldsReadLikeAtoiWithinFiveBytes) {
    const struct {
        const char field[6];
        int port;
    } cases[] = {
        {"8080", 8080}, {"65535", 65535}, {"  -12", -12}, {"+0042", 42}, {" \t 79", 79},
        {"12 34", 12},  {"abc12", 0},     {"-", 0},       {"", 0},       {"99999", 99999},
    };
    for (const auto& c : cases) {
        Datagram reply = FullReply();
        PutText(reply, 50, std::string(c.field, 5));
        PutText(reply, 55, std::string(c.field, 5));
        Parse(reply, 230);
        ASSERT_FALSE(sink.records.empty());
        EXPECT_EQ(sink.records.back()->m_Port, c.port) << c.field;
        EXPECT_EQ(sink.records.back()->m_Port2, c.port) << c.field;
    }
}

TEST_F(Parser4022Test, DeviceCodeFollowsTheTypeTable) {
    const struct {
        std::uint8_t type;
        std::uint8_t code[4]; // bytes 71 to 74
        const char* device;
        int signedType;
    } cases[] = {
        {91, {0x34, 0x12, 0, 0}, "30394545", 91},       // "09EE"
        {113, {0x34, 0x12, 0, 0}, "31364545", 113},     // "16EE"
        {118, {0x34, 0x12, 0, 0}, "30344543", 118},     // "04EC"
        {57, {0x34, 0x12, 0, 0}, "30344144", 57},       // "04AD"
        {186, {0x34, 0x12, 0, 0}, "30314144", -70},     // "01AD"
        {90, {'A', 'B', 0x01, 0xFF}, "414201FF", 90},   // raw bytes
        {120, {'A', 'B', 0x01, 0xFF}, "414201FF", 120}, // raw bytes
        {89, {0x34, 0x12, 9, 9}, "31323334", 89},       // "1234"
        {121, {0xAB, 0xCD, 9, 9}, "43444142", 121},     // "CDAB"
        {0, {0xFF, 0x00, 9, 9}, "30304646", 0},         // "00FF"
    };
    for (const auto& c : cases) {
        Datagram reply = FullReply();
        reply[70] = c.type;
        Put(reply, 71, {c.code[0], c.code[1], c.code[2], c.code[3]});
        Parse(reply, 230);
        ASSERT_FALSE(sink.records.empty());
        EXPECT_EQ(std::string(sink.records.back()->m_Device.data()), c.device) << int{c.type};
        EXPECT_EQ(sink.records.back()->m_Type, c.signedType);
    }
}

// Whatever fails while a reply is handed over stays inside the parser, on the receive thread.
TEST_F(Parser4022Test, FailureInsideIsCaughtAndLogged) {
    ThrowingSink throwing;
    CParserImp_4022port failing(&throwing);
    failing.ParserPackage(ReceiveBuffer(FullReply()), 230, "192.0.2.1", kPort);
    EXPECT_EQ(TakeLibraryLog(), "CParserImp_4022port::ParserPackage(4022) catch failed\n");
}

} // namespace
} // namespace vanmoor::test
