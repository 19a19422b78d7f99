// Settings commands through the exports, obeyed by simulated devices.
#include "Md5Digest.h"
#include "SimulatedDevices.h"

#include <algorithm>
#include <cstring>

namespace vanmoor::test {
namespace {

using devsim::CommandOutcome;
using devsim::DatagramKind;
using Bytes = std::vector<std::uint8_t>;

const char kMacErrorBig5[] = "MAC \xbf\xf9\xbb\x7e\n"; // "MAC 錯誤" in Big5

template <std::size_t N>
void Put(Bytes& bytes, std::size_t offset, const std::array<std::uint8_t, N>& value) {
    std::copy(value.begin(), value.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}
void Put(Bytes& bytes, std::size_t offset, const char* text) {
    std::memcpy(&bytes[offset], text, std::strlen(text));
}

// The part of a port-4022 settings command that every command carries, all change flags zero.
Bytes PlainCommand(const devsim::Ipv4& ip, const devsim::Mac& mac, const devsim::Ipv4& netmask) {
    Bytes command(74, 0);
    Put(command, 0, "PCEdit");
    Put(command, 7, "eth1");
    Put(command, 11, ip);
    Put(command, 15, mac);
    Put(command, 21, netmask);
    return command;
}

class SettingsCommands : public DeviceTest {
protected:
    // A found device of each protocol on lan 1.
    void SetUp() override {
        DeviceTest::SetUp();
        plain = MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "plain");
        plain.cameraName = "plain camera";
        plain.dns1 = {192, 0, 2, 53};
        secure = MakeDevice(Protocol::Port32970, 2, {192, 0, 2, 11}, "secure");
        secure.user = "root";
        secure.password = "s3cret";
        lan1 = &StartDevices(1, {plain, secure});
        ASSERT_TRUE(search(kSearchMilliseconds));
        ASSERT_EQ(getCounts(), 2);
    }

    static NetSettings PlainSettingsOf(const SimDevice& device) {
        NetSettings settings{};
        std::copy(device.ip.begin(), device.ip.end(), settings.IP);
        std::copy(device.netmask.begin(), device.netmask.end(), settings.netmask);
        std::copy(device.gateway.begin(), device.gateway.end(), settings.gateway);
        std::copy(device.dns1.begin(), device.dns1.end(), settings.DNS1);
        std::copy(device.dns2.begin(), device.dns2.end(), settings.DNS2);
        // The name field holds up to 18 bytes, not necessarily terminated.
        std::memcpy(settings.name, device.cameraName.data(),
                    std::min(device.cameraName.size(), sizeof settings.name));
        std::copy(device.mac.begin(), device.mac.end(), settings.MAC);
        settings.port = device.webPort;
        settings.bDHCP = device.dhcp ? 1 : 0;
        return settings;
    }

    static AuthNetSettings AuthSettingsOf(const SimDevice& device, const char* user,
                                          const char* password) {
        AuthNetSettings settings{};
        std::strncpy(settings.user, user, sizeof settings.user - 1);
        std::strncpy(settings.password, password, sizeof settings.password - 1);
        std::copy(device.ip.begin(), device.ip.end(), settings.IP);
        std::copy(device.netmask.begin(), device.netmask.end(), settings.netmask);
        std::copy(device.gateway.begin(), device.gateway.end(), settings.gateway);
        std::memcpy(settings.name, device.name.data(),
                    std::min(device.name.size(), sizeof settings.name));
        std::copy(device.mac.begin(), device.mac.end(), settings.MAC);
        settings.port = device.webPort;
        return settings;
    }

    // The settings commands the simulator received, once `count` of them arrived.
    std::vector<Bytes> ReceivedCommands(std::size_t count) {
        std::vector<Bytes> commands;
        WaitUntil([&] {
            commands.clear();
            for (const auto& datagram : lan1->Datagrams()) {
                if (datagram.kind == DatagramKind::SettingsCommand) {
                    commands.push_back(datagram.bytes);
                }
            }
            return commands.size() >= count;
        });
        return commands;
    }

    SimDevice plain;
    SimDevice secure;
    Simulator* lan1 = nullptr;
};

TEST_F(SettingsCommands, RefusedValuesSendNothing) {
    struct Refusal {
        const char* line;
        std::function<void(NetSettings&)> spoil;
    };
    const Refusal refusals[] = {
        {"IP = 0.0.0.0", [](NetSettings& s) { std::memset(s.IP, 0, 4); }},
        {"IP entend limit", [](NetSettings& s) { s.IP[3] = 0; }},
        {"IP entend limit", [](NetSettings& s) { s.IP[3] = 255; }},
        {"port < 0", [](NetSettings& s) { s.port = -1; }},
        {"port > 65536", [](NetSettings& s) { s.port = 65537; }},
        {"No Match, IP and GateWay", [](NetSettings& s) { s.gateway[2] = 3; }},
    };
    for (const Refusal& refusal : refusals) {
        NetSettings settings = PlainSettingsOf(plain);
        refusal.spoil(settings);
        ClearLog();
        EXPECT_EQ(set(settings), 0) << refusal.line;
        EXPECT_NE(Log().find(std::string("CBroadCastManager::set : ") + refusal.line + "\n"),
                  std::string::npos)
            << Log();
        AuthNetSettings auth = AuthSettingsOf(secure, "root", "s3cret");
        std::memcpy(auth.IP, settings.IP, 4);
        std::memcpy(auth.gateway, settings.gateway, 4);
        auth.port = settings.port;
        EXPECT_EQ(set_MD5(auth), 0) << refusal.line;
        EXPECT_FALSE(set_MD5_Muti(auth)) << refusal.line;
        EXPECT_NE(Log().find(std::string("CBroadCastManager::set_MD5::") + refusal.line + "\n"),
                  std::string::npos);
        EXPECT_NE(Log().find(std::string("CBroadCastManager::set_MD5_Muti::") + refusal.line),
                  std::string::npos);
    }

    // A gateway of 0.0.0.0 means none; port 65536 passes.
    NetSettings accepted = PlainSettingsOf(plain);
    std::memset(accepted.gateway, 0, 4);
    accepted.port = 65536;
    EXPECT_EQ(set(accepted), 1);
    const auto commands = ReceivedCommands(1);
    ASSERT_EQ(commands.size(), 1u) << "only the accepted command went out";
    EXPECT_EQ(std::string(commands[0].begin() + 52, commands[0].begin() + 57), "65536");
}

TEST_F(SettingsCommands, UnknownMacLogsEveryRecordAndTheMacError) {
    NetSettings settings = PlainSettingsOf(plain);
    settings.MAC[5] = 0x77;
    EXPECT_EQ(set(settings), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("CBroadCastManager::set::2 0 94 0 64 119\n"), std::string::npos) << log;
    EXPECT_NE(log.find("2 0 94 0 64 1\n"), std::string::npos);
    EXPECT_NE(log.find("2 0 94 0 50 2\n"), std::string::npos);
    EXPECT_NE(log.find(kMacErrorBig5), std::string::npos);
}

// With the log on, set() writes its lines as they always were, in this order: the MAC asked for,
// each record walked up to the device's, the changes, the send.
TEST_F(SettingsCommands, SetLogsTheWalkAndTheChangesInOrder) {
    NetSettings settings = PlainSettingsOf(plain);
    settings.port = 8081;
    std::string expected = "CBroadCastManager::set::2 0 94 0 64 1\n";
    for (int index = 0; index <= IndexOf("2-0-94-0-64-1"); ++index) {
        expected += index == IndexOf("2-0-94-0-50-2") ? "2 0 94 0 50 2\n" : "2 0 94 0 64 1\n";
    }
    expected += "\xad\xd7\xa7\xefport1: 8081\n"; // "修改port1: 8081" in Big5
    expected += "iter->m_DHCP = 0, sInfo.bDHCP = 0\n";
    expected += "CBroadCastItem::SendPacket port = 4022, len = 74\n";
    ClearLog();
    ASSERT_EQ(set(settings), 1);
    // The receive thread may add the command's own echo after these.
    EXPECT_EQ(Log().substr(0, expected.size()), expected);
}

TEST_F(SettingsCommands, SetChangesThePlainDeviceAndTheNextSearchShowsIt) {
    NetSettings settings = PlainSettingsOf(plain);
    const std::uint8_t ip[] = {192, 0, 2, 50};
    std::memcpy(settings.IP, ip, 4);
    settings.gateway[3] = 1;
    std::memset(settings.name, 0, sizeof settings.name);
    std::memcpy(settings.name, "Renamed", 7);
    settings.port = 8081;
    settings.bDHCP = 1;
    ASSERT_EQ(set(settings), 1);

    // The record took the values at once.
    const int index = IndexOf("2-0-94-0-64-1");
    char text[30] = {};
    ASSERT_TRUE(getIPString(index, text, sizeof text));
    EXPECT_STREQ(text, "192.000.002.050");
    EXPECT_EQ(getPort(index), 8081);
    EXPECT_EQ(getDHCP(index), 1);

    const auto commands = ReceivedCommands(1);
    ASSERT_EQ(commands.size(), 1u);
    Bytes expected = PlainCommand({192, 0, 2, 50}, plain.mac, plain.netmask);
    expected[6] = 1;  // address changed
    expected[25] = 1; // gateway changed
    Put(expected, 26, "gw");
    Put(expected, 28, std::array<std::uint8_t, 4>{192, 0, 2, 1});
    expected[32] = 1; // name changed
    Put(expected, 33, "Renamed");
    expected[51] = 1; // port changed
    Put(expected, 52, "8081");
    expected[72] = 1; // DHCP changed
    expected[73] = 1;
    EXPECT_EQ(commands[0], expected);

    ASSERT_TRUE(WaitUntil([&] { return lan1->Commands().size() == 1; }));
    EXPECT_EQ(lan1->Commands()[0].outcome, CommandOutcome::Applied);
    ASSERT_TRUE(search(kSearchMilliseconds));
    const int again = IndexOf("2-0-94-0-64-1");
    ASSERT_GE(again, 0);
    ASSERT_TRUE(getIPString(again, text, sizeof text));
    EXPECT_STREQ(text, "192.000.002.050");
    ASSERT_TRUE(getName(again, text, sizeof text));
    EXPECT_STREQ(text, "Renamed");
    EXPECT_EQ(getPort(again), 8081);
    EXPECT_EQ(getDHCP(again), 1);
    ASSERT_TRUE(getGateWayString(again, text, sizeof text));
    EXPECT_STREQ(text, "192.0.2.1");
}

TEST_F(SettingsCommands, ACommandIsSentEvenWhenNothingChanged) {
    ASSERT_EQ(set(PlainSettingsOf(plain)), 1);
    const auto commands = ReceivedCommands(1);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], PlainCommand(plain.ip, plain.mac, plain.netmask));
    ASSERT_TRUE(WaitUntil([&] { return lan1->Commands().size() == 1; }));
    EXPECT_EQ(lan1->Commands()[0].outcome, CommandOutcome::NothingToChange);
}

TEST_F(SettingsCommands, AuthenticatedSetWithTheRightPasswordChangesTheDevice) {
    AuthNetSettings settings = AuthSettingsOf(secure, "root", "s3cret");
    settings.IP[3] = 60;
    std::memset(settings.name, 0, sizeof settings.name);
    std::memcpy(settings.name, "Secure renamed", 14);
    settings.port = 65536;
    settings.DHCP = 1;
    ASSERT_EQ(set_MD5(settings), 1);

    // The record keeps the old values until the device answers again.
    const int index = IndexOf("2-0-94-0-50-2");
    char text[30] = {};
    ASSERT_TRUE(getName(index, text, sizeof text));
    EXPECT_STREQ(text, "secure");

    const auto commands = ReceivedCommands(1);
    ASSERT_EQ(commands.size(), 1u);
    const Bytes& command = commands[0];
    Bytes expected(328, 0);
    Put(expected, 0, "3297V1.00");
    expected[12] = 0x48;
    expected[13] = 0x01;
    Put(expected, 15, secure.mac);
    Put(expected, 21, std::array<std::uint8_t, 4>{192, 0, 2, 60});
    Put(expected, 25, secure.netmask);
    Put(expected, 29, secure.gateway);
    expected[41] = 1;
    Put(expected, 42, std::array<std::uint8_t, 4>{0x00, 0x00, 0x01, 0x00});
    const int random = command[133];
    expected[133] = command[133];
    const auto digest = devsim::Md5Hex(std::to_string(random) + "root:s3cret");
    std::copy(digest.begin(), digest.end(), expected.begin() + 134);
    Put(expected, 261, "Secure renamed");
    EXPECT_EQ(command, expected);

    ASSERT_TRUE(WaitUntil([&] { return lan1->Commands().size() == 1; }));
    EXPECT_EQ(lan1->Commands()[0].outcome, CommandOutcome::Applied);
    ASSERT_TRUE(search(kSearchMilliseconds));
    const int again = IndexOf("2-0-94-0-50-2");
    ASSERT_TRUE(getName(again, text, sizeof text));
    EXPECT_STREQ(text, "Secure renamed");
    ASSERT_TRUE(getIPString(again, text, sizeof text));
    EXPECT_STREQ(text, "192.000.002.060");
    EXPECT_EQ(getPort(again), 65536);
    EXPECT_EQ(getDHCP(again), 1);
}

TEST_F(SettingsCommands, AuthenticatedSetWithAWrongPasswordChangesNothing) {
    AuthNetSettings settings = AuthSettingsOf(secure, "root", "guess");
    settings.IP[3] = 61;
    ASSERT_EQ(set_MD5(settings), 1) << "the command goes out; the device refuses it";
    ASSERT_TRUE(WaitUntil([&] { return lan1->Commands().size() == 1; }));
    EXPECT_EQ(lan1->Commands()[0].outcome, CommandOutcome::WrongDigest);

    ASSERT_TRUE(search(kSearchMilliseconds));
    char text[30] = {};
    ASSERT_TRUE(getIPString(IndexOf("2-0-94-0-50-2"), text, sizeof text));
    EXPECT_STREQ(text, "192.000.002.011");
}

TEST_F(SettingsCommands, AuthenticatedCommandsRefuseDevicesFoundOnPort4022) {
    AuthNetSettings settings = AuthSettingsOf(plain, "root", "s3cret");
    EXPECT_EQ(set_MD5(settings), 0);
    EXPECT_FALSE(set_MD5_Muti(settings));
    EXPECT_NE(Log().find("CBroadCastManager::set_MD5::Permission_Denied\n"), std::string::npos);
    EXPECT_NE(Log().find("CBroadCastManager::set_MD5_Muti::Permission_Denied\n"),
              std::string::npos);

    // The walk goes on past a refused record: the secure device still takes its command.
    EXPECT_TRUE(set_MD5_Muti(AuthSettingsOf(secure, "root", "s3cret")));
    const auto commands = ReceivedCommands(1);
    ASSERT_EQ(commands.size(), 1u) << "nothing was sent for the refused device";
    EXPECT_EQ(commands[0][14], 0);
    EXPECT_TRUE(std::equal(secure.mac.begin(), secure.mac.end(), commands[0].begin() + 15));
}

TEST_F(SettingsCommands, DevicesOfOtherInterfacesAreReachedThroughTheirOwnEndpoint) {
    SimDevice far = MakeDevice(Protocol::Port4022, 9, {198, 51, 100, 20}, "far");
    far.cameraName = "far";
    Simulator& lan2 = StartDevices(2, {far});
    ASSERT_TRUE(search(kSearchMilliseconds));
    ASSERT_GE(IndexOf("2-0-94-0-64-9"), 0);

    NetSettings settings = PlainSettingsOf(far);
    settings.port = 81;
    ASSERT_EQ(set(settings), 1);
    ASSERT_TRUE(WaitUntil([&] { return lan2.Commands().size() == 1; }));
    EXPECT_EQ(lan2.Commands()[0].outcome, CommandOutcome::Applied);
    EXPECT_TRUE(lan1->Commands().empty()) << "the command left through the wrong interface";
}

} // namespace
} // namespace vanmoor::test
