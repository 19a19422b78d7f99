#include "LogCapture.h"
#include "ParserTestSupport.h"

#include "config/SetCommand.h"

#include <iconv.h>

#include <cstring>
#include <string>

namespace vanmoor::test {
namespace {

// The log receives Big5 (code page 950); converted here by the C library, independently of
// the bytes written into the sources.
std::string Big5(std::string utf8) {
    iconv_t converter = iconv_open("BIG5", "UTF-8");
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
    std::string big5(utf8.size() * 2, '\0');
    char* in = utf8.data();
    char* out = big5.data();
    std::size_t inLeft = utf8.size(), outLeft = big5.size();
    EXPECT_NE(iconv(converter, &in, &inLeft, &out, &outLeft), static_cast<std::size_t>(-1));
    iconv_close(converter);
    big5.resize(big5.size() - outLeft);
    return big5;
}

DeviceRecord Device() {
    DeviceRecord r;
    r.m_MAC = {0, 0x11, 0x22, 0x33, 0x44, 0x55};
    r.m_IP = {192, 168, 1, 10};
    r.m_NetMask = {255, 255, 255, 0};
    r.m_GateWay = {192, 168, 1, 1};
    std::strcpy(r.m_CameraName1.data(), "Lobby");
    r.m_Port = 80;
    r.m_DNS1 = {8, 8, 8, 8};
    r.m_DNS2 = {8, 8, 4, 4};
    r.m_DHCP = false;
    return r;
}

// Settings equal to Device().
NetSettings SameSettings() {
    NetSettings s{{192, 168, 1, 10},
                  {255, 255, 255, 0},
                  {192, 168, 1, 1},
                  {8, 8, 8, 8},
                  {8, 8, 4, 4},
                  "Lobby",
                  {0, 0x11, 0x22, 0x33, 0x44, 0x55},
                  80,
                  0};
    return s;
}

// The command with only the parts that are always there.
Datagram FixedParts(const NetSettings& s) {
    Datagram d(74, 0);
    PutText(d, 0, "PCEdit");                                              // 0: prefix
    PutText(d, 7, "eth1");                                                // 7: interface
    Put(d, 11, {s.IP[0], s.IP[1], s.IP[2], s.IP[3]});                     // 11: address
    Put(d, 15, {0, 0x11, 0x22, 0x33, 0x44, 0x55});                        // 15: the record's MAC
    Put(d, 21, {s.netmask[0], s.netmask[1], s.netmask[2], s.netmask[3]}); // 21: netmask
    return d;
}

class SetCommandTest : public LoggedTest {
protected:
    Datagram Build(const NetSettings& s) {
        const SetCommand command = BuildSetCommand(record, s);
        return Datagram(command.begin(), command.end());
    }
    DeviceRecord record = Device();
};

TEST_F(SetCommandTest, UnchangedValuesStillMakeACommand) {
    const NetSettings s = SameSettings();
    EXPECT_EQ(Build(s), FixedParts(s));
    EXPECT_EQ(TakeLibraryLog(), "iter->m_DHCP = 0, sInfo.bDHCP = 0\n");
}

TEST_F(SetCommandTest, EveryChangeIsFlaggedLoggedAndStored) {
    NetSettings s{{10, 0, 0, 9},
                  {255, 0, 0, 0},
                  {10, 0, 0, 254},
                  {1, 1, 1, 1},
                  {9, 9, 9, 9},
                  "Gate",
                  {0, 0x11, 0x22, 0x33, 0x44, 0x55},
                  65536,
                  1};
    Datagram expected = FixedParts(s);
    Put(expected, 6, {1});                       // 6: address block changed
    Put(expected, 25, {1});                      // 25: gateway changed
    PutText(expected, 26, "gw");                 // 26
    Put(expected, 28, {10, 0, 0, 254});          // 28: gateway
    Put(expected, 32, {1});                      // 32: name changed
    PutText(expected, 33, "Gate");               // 33: name, zero-padded to 18 bytes
    Put(expected, 51, {1});                      // 51: port changed
    PutText(expected, 52, "65536");              // 52: port digits
    Put(expected, 63, {1});                      // 63: DNS changed
    Put(expected, 64, {1, 1, 1, 1, 9, 9, 9, 9}); // 64: DNS1, 68: DNS2
    Put(expected, 72, {1, 1});                   // 72: DHCP changed, 73: DHCP on
    EXPECT_EQ(Build(s), expected);

    EXPECT_EQ(TakeLibraryLog(), Big5("修改IP: 10.0.0.9\n"
                                     "修改Netmask: 255.0.0.0\n"
                                     "修改Gateway: 10.0.0.254\n"
                                     "修改名稱\n"
                                     "修改port1: 65536\n"
                                     "修改DNS1: 1.1.1.1\n"
                                     "修改DNS2: 9.9.9.9\n"
                                     "iter->m_DHCP = 0, sInfo.bDHCP = 1\n"
                                     "修改DHCP: 1\n"));

    EXPECT_EQ(record.m_IP, (Ipv4Bytes{10, 0, 0, 9}));
    EXPECT_EQ(record.m_NetMask, (Ipv4Bytes{255, 0, 0, 0}));
    EXPECT_EQ(record.m_GateWay, (Ipv4Bytes{10, 0, 0, 254}));
    EXPECT_EQ(std::string(record.m_CameraName1.data()), "Gate");
    EXPECT_EQ(record.m_Port, 65536);
    EXPECT_EQ(record.m_DNS1, (Ipv4Bytes{1, 1, 1, 1}));
    EXPECT_EQ(record.m_DNS2, (Ipv4Bytes{9, 9, 9, 9}));
    EXPECT_TRUE(record.m_DHCP);
    EXPECT_EQ(record.m_MAC, Device().m_MAC);
}

TEST_F(SetCommandTest, SingleChangesSetOnlyTheirOwnFlags) {
    NetSettings s = SameSettings();
    s.netmask[1] = 0;
    Datagram expected = FixedParts(s);
    Put(expected, 6, {1}); // a netmask change shares the address flag
    EXPECT_EQ(Build(s), expected);

    record = Device();
    s = SameSettings();
    s.gateway[3] = 254;
    expected = FixedParts(s);
    Put(expected, 25, {1, 'g', 'w', 192, 168, 1, 254}); // 25: flag, "gw", gateway
    EXPECT_EQ(Build(s), expected);

    record = Device();
    s = SameSettings();
    s.DNS2[3] = 5;
    expected = FixedParts(s);
    Put(expected, 63, {1, 8, 8, 8, 8, 8, 8, 4, 5}); // 63: flag, then both servers
    EXPECT_EQ(Build(s), expected);

    record = Device();
    s = SameSettings();
    s.port = 8;
    expected = FixedParts(s);
    Put(expected, 51, {1, '8', 0, 0, 0, 0}); // one digit, zero-padded
    EXPECT_EQ(Build(s), expected);
    EXPECT_EQ(record.m_Port, 8);
}

// The new name has 18 bytes and no terminator; the name is compared over those 18 bytes only.
TEST_F(SetCommandTest, EighteenByteNamesWithoutTerminator) {
    std::strcpy(record.m_CameraName1.data(), "Entrance-North-Wing-Camera");
    NetSettings s = SameSettings();
    std::memcpy(s.name, "Entrance-North-Wing-Camera", 18);
    Datagram same = Build(s);
    EXPECT_EQ(same[32], 0);
    EXPECT_EQ(std::string(record.m_CameraName1.data()), "Entrance-North-Wing-Camera");

    std::memcpy(s.name, "Parking-Level-2-B1", 18);
    Datagram changed = Build(s);
    EXPECT_EQ(changed[32], 1);
    EXPECT_EQ(std::string(changed.begin() + 33, changed.begin() + 51), "Parking-Level-2-B1");
    EXPECT_EQ(changed[51], 0); // the port flag follows, untouched
    // The record holds the new name alone, no tail of the longer old one.
    EXPECT_EQ(std::string(record.m_CameraName1.data()), "Parking-Level-2-B1");
}

TEST_F(SetCommandTest, MacErrorTextIsBig5) {
    EXPECT_EQ(std::string(kMacErrorBig5), Big5("MAC 錯誤\n"));
}

} // namespace
} // namespace vanmoor::test
