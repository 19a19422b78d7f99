#include "LibraryDatagrams.h"
#include "SimulatorInLan.h"

#include <gtest/gtest.h>

namespace vanmoor::devsim::test {
namespace {

const Mac kMac4022{0x02, 0x00, 0x5e, 0x00, 0x01, 0x01};
const Mac kMac32970{0x02, 0x00, 0x5e, 0x00, 0x01, 0x02};

SimDevice Original(Protocol protocol, const Mac& mac) {
    SimDevice device;
    device.protocol = protocol;
    device.mac = mac;
    device.ip = {192, 0, 2, 10};
    device.gateway = {192, 0, 2, 1};
    device.dns1 = {192, 0, 2, 53};
    device.name = "original";
    device.user = "operator";
    device.password = "s3cret";
    return device;
}

// A command for the port-4022 device that carries other values in every field, flags unset.
Command4022 Unflagged() {
    Command4022 command;
    command.mac = kMac4022;
    command.ip = {192, 0, 2, 99};
    command.netmask = {255, 255, 0, 0};
    return command;
}

Command32970 Authenticated() {
    Command32970 command;
    command.user = "operator";
    command.password = "s3cret";
    command.random = 77;
    command.mac = kMac32970;
    command.ip = {192, 0, 2, 77};
    command.netmask = {255, 255, 255, 128};
    command.gateway = {192, 0, 2, 126};
    command.dns1 = {1, 1, 1, 1};
    command.dns2 = {1, 0, 0, 1};
    command.dhcp = 1;
    command.port = 65536;
    command.name = std::string(32, 'x');
    return command;
}

class DevsimCommands : public testing::Test {
protected:
    void SetUp() override {
        simulator = StartInLan1(
            {Original(Protocol::Port4022, kMac4022), Original(Protocol::Port32970, kMac32970)});
    }

    // Sends a command and waits until the simulator has acted on it.
    void Send(const Bytes& command, std::uint16_t port) {
        const auto& probe = port == 4022 ? probe4022 : probe32970;
        probe->Broadcast(command, port);
        ASSERT_TRUE(simulator->WaitForDatagrams(++sent, kPatience));
    }

    Bytes SearchReply(std::uint16_t port) {
        ++sent;
        const std::vector<Arrival> replies =
            Search(port == 4022 ? *probe4022 : *probe32970, port, 1);
        return replies.empty() ? Bytes{} : replies[0].bytes;
    }

    CommandOutcome LastOutcome() const { return simulator->Commands().back().outcome; }

    std::unique_ptr<Simulator> simulator;
    std::unique_ptr<ProbeClient> probe4022 = ProbeOnLan1(4022);
    std::unique_ptr<ProbeClient> probe32970 = ProbeOnLan1(32970);
    std::size_t sent = 0;
};

TEST_F(DevsimCommands, ADeviceDropsAsManyCommandsAsItIsToldThenObeys) {
    SimDevice dropping = Original(Protocol::Port4022, kMac4022);
    dropping.commandsToDrop = 2;
    simulator->SetDevice(0, dropping);
    Command4022 command = Unflagged();
    command.addressChanged = true;

    for (int dropped = 0; dropped < 2; ++dropped) {
        Send(SettingsCommand4022(command), 4022);
        EXPECT_EQ(LastOutcome(), CommandOutcome::Dropped);
        EXPECT_EQ(simulator->Device(0).ip, (Ipv4{192, 0, 2, 10}));
    }
    Send(SettingsCommand4022(command), 4022);
    EXPECT_EQ(LastOutcome(), CommandOutcome::Applied);
    EXPECT_EQ(simulator->Device(0).ip, (Ipv4{192, 0, 2, 99}));
    EXPECT_EQ(simulator->Device(0).commandsToDrop, 0u);
}

TEST_F(DevsimCommands, Port4022DeviceTakesEachFlaggedValueAlone) {
    SimDevice expected = Original(Protocol::Port4022, kMac4022);
    Command4022 command = Unflagged();

    command.addressChanged = true;
    Send(SettingsCommand4022(command), 4022);
    expected.ip = command.ip;
    expected.netmask = command.netmask;
    EXPECT_EQ(simulator->Device(0), expected);

    command = Unflagged();
    command.gateway = Ipv4{192, 0, 3, 1};
    Send(SettingsCommand4022(command), 4022);
    expected.gateway = {192, 0, 3, 1};
    EXPECT_EQ(simulator->Device(0), expected);

    command = Unflagged();
    command.name = "eighteen-byte-name";
    Send(SettingsCommand4022(command), 4022);
    expected.name = "eighteen-byte-name";
    EXPECT_EQ(simulator->Device(0), expected);

    command = Unflagged();
    command.portDigits = "65536";
    Send(SettingsCommand4022(command), 4022);
    expected.webPort = 65536;
    EXPECT_EQ(simulator->Device(0), expected);

    command = Unflagged();
    command.dns = {Ipv4{9, 9, 9, 9}, Ipv4{149, 112, 112, 112}};
    Send(SettingsCommand4022(command), 4022);
    expected.dns1 = {9, 9, 9, 9};
    expected.dns2 = {149, 112, 112, 112};
    EXPECT_EQ(simulator->Device(0), expected);

    command = Unflagged();
    command.dhcp = true;
    Send(SettingsCommand4022(command), 4022);
    expected.dhcp = true;
    EXPECT_EQ(simulator->Device(0), expected);
    EXPECT_EQ(LastOutcome(), CommandOutcome::Applied);
    EXPECT_EQ(simulator->Device(1), Original(Protocol::Port32970, kMac32970));

    const Bytes reply = SearchReply(4022);
    ASSERT_EQ(reply.size(), 220u);
    EXPECT_EQ(Field(reply, 10, 4), (Bytes{192, 0, 2, 99}));
    EXPECT_EQ(Field(reply, 20, 4), (Bytes{255, 255, 0, 0}));
    EXPECT_EQ(Field(reply, 27, 4), (Bytes{192, 0, 3, 1}));
    EXPECT_EQ(Field(reply, 32, 18), Padded("eighteen-byte-name", 18));
    EXPECT_EQ(Field(reply, 50, 5), Padded("65536", 5));
    EXPECT_EQ(Field(reply, 61, 8), (Bytes{9, 9, 9, 9, 149, 112, 112, 112}));
    EXPECT_EQ(reply[69], 1);
}

TEST_F(DevsimCommands, Port4022CommandWithoutFlagsOrForAnotherMacChangesNothing) {
    Send(SettingsCommand4022(Unflagged()), 4022);
    EXPECT_EQ(LastOutcome(), CommandOutcome::NothingToChange);

    Command4022 elsewhere = Unflagged();
    elsewhere.mac[5] = 0x7f;
    elsewhere.addressChanged = true;
    elsewhere.name = "other";
    Send(SettingsCommand4022(elsewhere), 4022);
    EXPECT_EQ(LastOutcome(), CommandOutcome::NoSuchDevice);
    EXPECT_FALSE(simulator->Commands().back().device.has_value());

    // The port-32970 device's MAC on port 4022: no port-4022 device has it.
    Command4022 otherProtocol = Unflagged();
    otherProtocol.mac = kMac32970;
    otherProtocol.addressChanged = true;
    Send(SettingsCommand4022(otherProtocol), 4022);
    EXPECT_EQ(LastOutcome(), CommandOutcome::NoSuchDevice);

    EXPECT_EQ(simulator->Devices(),
              (std::vector<SimDevice>{Original(Protocol::Port4022, kMac4022),
                                      Original(Protocol::Port32970, kMac32970)}));
    EXPECT_EQ(Field(SearchReply(4022), 10, 4), (Bytes{192, 0, 2, 10}));
}

TEST_F(DevsimCommands, Port32970DeviceTakesEveryValueWithTheRightDigest) {
    Send(SettingsCommand32970(Authenticated()), 32970);

    EXPECT_EQ(LastOutcome(), CommandOutcome::Applied);
    EXPECT_EQ(simulator->Commands().back().device, 1u);
    const SimDevice device = simulator->Device(1);
    EXPECT_EQ(device.ip, (Ipv4{192, 0, 2, 77}));
    EXPECT_EQ(device.netmask, (Ipv4{255, 255, 255, 128}));
    EXPECT_EQ(device.gateway, (Ipv4{192, 0, 2, 126}));
    EXPECT_EQ(device.dns1, (Ipv4{1, 1, 1, 1}));
    EXPECT_EQ(device.dns2, (Ipv4{1, 0, 0, 1}));
    EXPECT_TRUE(device.dhcp);
    EXPECT_EQ(device.webPort, 65536);
    EXPECT_EQ(device.name, std::string(32, 'x'));
    EXPECT_EQ(simulator->Device(0), Original(Protocol::Port4022, kMac4022));

    const Bytes reply = SearchReply(32970);
    ASSERT_EQ(reply.size(), 328u);
    EXPECT_EQ(Field(reply, 21, 21), (Bytes{192, 0, 2, 77, 255, 255, 255, 128, 192, 0, 2,
                                           126, 1, 1, 1,  1,   1,   0,   0,   1,   1}));
    EXPECT_EQ(Field(reply, 42, 4), (Bytes{0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(Field(reply, 261, 32), Bytes(32, 'x'));
}

TEST_F(DevsimCommands, Port32970DigestIsMd5OfTheNumberUserColonAndPassword) {
    // Digest of "200operator:s3cret", worked out with md5sum.
    const std::string digest = "03b8609307cd49a7172dd61e9950ad49";
    Command32970 command = Authenticated();
    command.random = 200;
    Bytes datagram = SettingsCommand32970(command);
    std::copy(digest.begin(), digest.end(), datagram.begin() + 134);

    datagram[133] = 201;
    Send(datagram, 32970);
    EXPECT_EQ(LastOutcome(), CommandOutcome::WrongDigest);

    datagram[133] = 200;
    Send(datagram, 32970);
    EXPECT_EQ(LastOutcome(), CommandOutcome::Applied);
}

TEST_F(DevsimCommands, Port32970CommandWithWrongCredentialsOrMacChangesNothing) {
    Command32970 wrongPassword = Authenticated();
    wrongPassword.password = "guess";
    Send(SettingsCommand32970(wrongPassword), 32970);
    EXPECT_EQ(LastOutcome(), CommandOutcome::WrongDigest);
    EXPECT_EQ(simulator->Commands().back().device, 1u);

    Command32970 wrongUser = Authenticated();
    wrongUser.user = "admin";
    Send(SettingsCommand32970(wrongUser), 32970);
    EXPECT_EQ(LastOutcome(), CommandOutcome::WrongDigest);

    Command32970 elsewhere = Authenticated();
    elsewhere.mac = kMac4022;
    Send(SettingsCommand32970(elsewhere), 32970);
    EXPECT_EQ(LastOutcome(), CommandOutcome::NoSuchDevice);

    EXPECT_EQ(simulator->Device(1), Original(Protocol::Port32970, kMac32970));
    EXPECT_EQ(simulator->Device(0), Original(Protocol::Port4022, kMac4022));
    EXPECT_EQ(Field(SearchReply(32970), 21, 4), (Bytes{192, 0, 2, 10}));
}

} // namespace
} // namespace vanmoor::devsim::test
