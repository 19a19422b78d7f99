#include "DeviceConfig.h"
#include "AddressText.h"
#include "CaptureLine.h"
#include "DeviceGenerator.h"
#include "ProgramOptions.h"
#include "ReplyPlan.h"

#include <gtest/gtest.h>
#include <sstream>

namespace vanmoor::devsim {
namespace {

TEST(DevsimDeviceConfig, ReadsEverySetting) {
    const SimDevice device = ParseDevice(
        "protocol=4022 mac=02:00:5E:0a:0B:ff ip=192.0.2.10 netmask=255.255.0.0 "
        "gateway=192.0.2.1 dns1=198.51.100.53 dns2=198.51.100.54 name=\"Front door\" port=8080 "
        "port2=554 dhcp=on type=186 code=3412abCD version=V1.2 brand=\"Sim Brand\" model=M1 "
        "camera=\"Gate camera\" length=300 user=root password=\"pass word\" reply=subnet "
        "delay=250 drop=2");

    SimDevice expected;
    expected.mac = {0x02, 0x00, 0x5e, 0x0a, 0x0b, 0xff};
    expected.ip = {192, 0, 2, 10};
    expected.netmask = {255, 255, 0, 0};
    expected.gateway = {192, 0, 2, 1};
    expected.dns1 = {198, 51, 100, 53};
    expected.dns2 = {198, 51, 100, 54};
    expected.name = "Front door";
    expected.webPort = 8080;
    expected.secondPort = 554;
    expected.dhcp = true;
    expected.type = 186;
    expected.code = {0x34, 0x12, 0xab, 0xcd};
    expected.version = "V1.2";
    expected.brand = "Sim Brand";
    expected.model = "M1";
    expected.cameraName = "Gate camera";
    expected.replyLength = 300;
    expected.user = "root";
    expected.password = "pass word";
    expected.replyMode = ReplyMode::SubnetBroadcast;
    expected.replyDelay = std::chrono::milliseconds(250);
    expected.commandsToDrop = 2;
    EXPECT_EQ(device, expected);
}

TEST(DevsimDeviceConfig, RefusesWhatADeviceCannotCarry) {
    const std::string identity = "mac=02:00:00:00:00:01 ip=192.0.2.5 ";
    for (const std::string bad : {
             "mac=02:00:00:00:00:01",                // no address
             "ip=192.0.2.5",                         // no MAC
             "mac=02:00:00:00:00 ip=192.0.2.5",      // five MAC bytes
             "mac=02:00:00:00:00:01 ip=192.0.2.256", // octet too big
             "mac=02:00:00:00:00:01 ip=192.0.2",     // three octets
         }) {
        EXPECT_THROW(ParseDevice(bad), std::invalid_argument) << bad;
    }
    for (const std::string bad : {
             "colour=red",
             "name=\"unterminated",
             "name=\"x\"y",
             "protocol=4023",
             "name=nineteen-bytes-name",
             "port=100000",
             "port=-1",
             "length=55",
             "length=501",
             "type=256",
             "code=1234567",
             "dhcp=yes",
             "reply=multicast",
             "delay=-5",
             "=value",
             "novalue",
         }) {
        EXPECT_THROW(ParseDevice(identity + bad), std::invalid_argument) << bad;
    }
    // Port 32970 names may be 32 bytes long.
    EXPECT_EQ(ParseDevice(identity + "protocol=32970 name=" + std::string(32, 'n')).name.size(),
              32u);
    EXPECT_THROW(ParseDevice(identity + "protocol=32970 name=" + std::string(33, 'n')),
                 std::invalid_argument);
}

TEST(DevsimDeviceConfig, FileSkipsCommentsAndNamesTheFaultyLine) {
    std::istringstream good(
        "# lobby\n\n  mac=02:00:00:00:00:01 ip=192.0.2.5\r\n"
        "\t# yard\nprotocol=32970 mac=02:00:00:00:00:02 ip=192.0.2.6 name=\"\"\n");
    const std::vector<SimDevice> devices = ReadDeviceFile(good, "lan.conf");
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].mac[5], 1);
    EXPECT_EQ(devices[1].protocol, Protocol::Port32970);
    EXPECT_EQ(devices[1].name, "");

    std::istringstream bad("mac=02:00:00:00:00:01 ip=192.0.2.5\n# fine\nmac=02:00:00:00:00:02\n");
    try {
        ReadDeviceFile(bad, "lan.conf");
        ADD_FAILURE() << "a device without address was accepted";
    } catch (const std::invalid_argument& error) {
        EXPECT_EQ(std::string(error.what()).rfind("lan.conf:3: ", 0), 0u) << error.what();
    }
}

TEST(DevsimDeviceConfig, ExampleFileIsValid) {
    const std::vector<SimDevice> devices = LoadDeviceFile(VANMOOR_DEVSIM_EXAMPLE);
    ASSERT_EQ(devices.size(), 5u);
    EXPECT_EQ(devices[2].protocol, Protocol::Port32970);
    EXPECT_EQ(devices[2].password, "secret");
    EXPECT_FALSE(devices[2].wsd.enabled);
    EXPECT_TRUE(devices[3].wsd.enabled);
    EXPECT_FALSE(devices[3].answersDeviceProtocol);
    EXPECT_EQ(devices[3].wsd.scopes.size(), 3u);
    EXPECT_TRUE(devices[3].service.enabled);
    EXPECT_EQ(devices[3].password, "\xC3\x96"
                                   "ffne-mich 1");
    EXPECT_EQ(devices[4].wsd.types, std::vector<std::string>{"tdn:NetworkVideoTransmitter"});
}

TEST(DevsimDeviceConfig, WebServiceKeysAndTheirRefusals) {
    const SimDevice device = ParseDevice(
        "protocol=3702 mac=02:00:00:00:00:01 ip=192.0.2.5 service=on login=wsse clock=-7200 "
        "reboot_needed=on reboot_pause=500 changes=drop service_hostile=odd-fault serial=S1");
    EXPECT_TRUE(device.service.enabled);
    EXPECT_EQ(device.service.login, ServiceLogin::UsernameToken);
    EXPECT_EQ(device.service.clockOffsetSeconds, -7200);
    EXPECT_TRUE(device.service.rebootNeeded);
    EXPECT_EQ(device.service.rebootPause, std::chrono::milliseconds(500));
    EXPECT_EQ(device.service.changes, ServiceChanges::Drop);
    EXPECT_EQ(device.service.hostile, ServiceHostile::OddFault);
    EXPECT_EQ(device.service.serial, "S1");
    for (const char* wrong : {"protocol=4022 service=on", "protocol=3702 service=on port=0",
                              "protocol=3702 login=basic", "protocol=3702 changes=maybe"}) {
        EXPECT_THROW(ParseDevice(std::string("mac=02:00:00:00:00:01 ip=192.0.2.5 ") + wrong),
                     std::invalid_argument)
            << wrong;
    }
}

TEST(DevsimDeviceConfig, WsDiscoveryKeysAndTheirRefusals) {
    const SimDevice device =
        ParseDevice("protocol=3702,32970 mac=02:00:00:00:00:01 ip=192.0.2.5 types=\"tds:Device "
                    "{urn:x}Cam\" wsd_hostile=twice wsd_ignore=2 wsd_probes=unicast metadata=7");
    EXPECT_EQ(device.protocol, Protocol::Port32970);
    EXPECT_EQ(device.wsd.types, (std::vector<std::string>{"tds:Device", "{urn:x}Cam"}));
    EXPECT_EQ(device.wsd.hostile, WsdHostile::Twice);
    EXPECT_EQ(device.wsd.probesToIgnore, 2u);
    EXPECT_EQ(device.wsd.probes, WsdProbes::UnicastOnly);
    EXPECT_EQ(device.wsd.metadataVersion, 7u);
    for (const char* wrong : {"protocol=4022,32970", "protocol=3702,3702", "protocol=80",
                              "types=Device", "types={}Cam", "wsd_hostile=loud"}) {
        EXPECT_THROW(ParseDevice(std::string("mac=02:00:00:00:00:01 ip=192.0.2.5 ") + wrong),
                     std::invalid_argument)
            << wrong;
    }
}

TEST(DevsimDeviceConfig, GeneratedDevicesCountUpAcrossBytes) {
    SimDevice first = ParseDevice("mac=02:00:00:00:00:fe ip=10.0.0.254 name=cam");
    const std::vector<SimDevice> devices = GenerateDevices(first, 3);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(FormatMac(devices[2].mac), "02:00:00:00:01:00");
    EXPECT_EQ(FormatIpv4(devices[1].ip), "10.0.0.255");
    EXPECT_EQ(FormatIpv4(devices[2].ip), "10.0.1.0");
    EXPECT_EQ(devices[0].name, "cam1");
    EXPECT_EQ(devices[2].name, "cam3");
    EXPECT_EQ(devices[2].netmask, first.netmask);

    first.name = std::string(17, 'n');
    EXPECT_EQ(GenerateDevices(first, 9).size(), 9u);
    EXPECT_THROW(GenerateDevices(first, 10), std::invalid_argument);
}

TEST(DevsimDeviceConfig, ExplicitOrderMustNameEveryDeviceOnce) {
    ReplyPlan plan;
    plan.order = ReplyOrder::Explicit;
    plan.permutation = {2, 0, 1};
    EXPECT_NO_THROW(CheckReplyPlan(plan, 3));
    EXPECT_EQ(AnswerOrder(plan, 3), (std::vector<std::size_t>{2, 0, 1}));
    for (const std::vector<std::size_t>& bad :
         {std::vector<std::size_t>{2, 0}, {2, 0, 0}, {3, 0, 1}, {0, 1, 2, 0}}) {
        plan.permutation = bad;
        EXPECT_THROW(CheckReplyPlan(plan, 3), std::invalid_argument);
    }
    plan.order = ReplyOrder::Reverse;
    EXPECT_EQ(AnswerOrder(plan, 3), (std::vector<std::size_t>{2, 1, 0}));
}

TEST(DevsimProgramOptions, GeneratesFromProtocolAndTemplateAfterTheGivenDevices) {
    const char* argv[] = {"vanmoor-devsim",
                          "--generate",
                          "3",
                          "--protocol",
                          "32970",
                          "--device",
                          "mac=02:00:00:00:00:aa ip=192.0.2.170",
                          "--template",
                          "ip=192.0.2.100 user=root",
                          "--reply",
                          "unicast",
                          "--order",
                          "3,2,1,0",
                          "--repeat",
                          "2",
                          "--duration",
                          "1.5"};
    const ProgramOptions options = ParseProgramOptions(std::size(argv), argv);
    ASSERT_EQ(options.devices.size(), 4u);
    EXPECT_EQ(options.devices[0].protocol, Protocol::Port4022);
    EXPECT_EQ(options.devices[3].protocol, Protocol::Port32970);
    EXPECT_EQ(FormatIpv4(options.devices[3].ip), "192.0.2.102");
    EXPECT_EQ(FormatMac(options.devices[3].mac), "02:00:00:00:00:03");
    EXPECT_EQ(options.devices[3].user, "root");
    EXPECT_EQ(options.plan.mode, ReplyMode::Unicast);
    EXPECT_EQ(options.plan.permutation, (std::vector<std::size_t>{3, 2, 1, 0}));
    EXPECT_EQ(options.plan.repeat, 2u);
    EXPECT_EQ(options.duration, std::chrono::milliseconds(1500));

    const char* badOrder[] = {"vanmoor-devsim", "--generate", "2", "--order", "0,0"};
    EXPECT_THROW(ParseProgramOptions(std::size(badOrder), badOrder), std::invalid_argument);
    const char* missingValue[] = {"vanmoor-devsim", "--delay"};
    EXPECT_THROW(ParseProgramOptions(std::size(missingValue), missingValue), std::invalid_argument);
}

TEST(DevsimProgramOptions, VersionIsAnOptionOfItsOwn) {
    const char* argv[] = {"vanmoor-devsim", "--version"};
    EXPECT_TRUE(ParseProgramOptions(std::size(argv), argv).version);
}

TEST(DevsimCaptureLine, ShowsTimeSourceKindAndEveryByte) {
    const Clock::time_point start{};
    const ReceivedDatagram datagram{Protocol::Port32970,
                                    DatagramKind::SettingsCommand,
                                    {0x00, 0x7f, 0xa0, 0xff},
                                    {192, 0, 2, 1},
                                    50000,
                                    start + std::chrono::microseconds(2'000'042),
                                    0};
    EXPECT_EQ(CaptureLine(datagram, start), "2.000042 192.0.2.1:50000 > 32970 command 4 007fa0ff");
}

} // namespace
} // namespace vanmoor::devsim
