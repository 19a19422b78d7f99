// The device client over a SOAP caller that answers from a script and records what it was
// asked: what a read gathers, and what a change sends, in which order, and when it stops.
#include "DeviceClient.h"
#include "CameraAnswers.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace vanmoor::onvif::test {
namespace {

using settings::ParseDottedAddress;

// Answers each operation (the last part of its action) from a script: a scripted result, else
// an empty answer of the operation. Records every call in order.
class RecordingCaller final : public SoapCaller {
public:
    struct Call {
        std::string operation;
        std::string body;
    };
    std::vector<Call> calls;
    std::map<std::string, CallResult> script;

    CallResult Call(std::string_view action, std::string_view body, bool login) override {
        EXPECT_TRUE(login);
        const std::string operation(action.substr(action.rfind('/') + 1));
        calls.push_back({operation, std::string(body)});
        if (const auto scripted = script.find(operation); scripted != script.end()) {
            return scripted->second;
        }
        return Answer(EmptyAnswer(operation + "Response"));
    }

    static CallResult Answer(std::string envelope) {
        return {CallOutcome::Answered, std::move(envelope), {}, {}, {}};
    }

    std::vector<std::string> Operations() const {
        std::vector<std::string> operations;
        for (const auto& call : calls) {
            operations.push_back(call.operation);
        }
        return operations;
    }
};

RecordingCaller CameraCaller() {
    RecordingCaller caller;
    caller.script = {
        {"GetDeviceInformation", RecordingCaller::Answer(DeviceInformationAnswer())},
        {"GetNetworkInterfaces", RecordingCaller::Answer(NetworkInterfacesAnswer())},
        {"GetNetworkDefaultGateway", RecordingCaller::Answer(DefaultGatewayAnswer())},
        {"GetDNS", RecordingCaller::Answer(DnsAnswer())},
        {"GetHostname", RecordingCaller::Answer(HostnameAnswer())},
        {"GetNetworkProtocols", RecordingCaller::Answer(NetworkProtocolsAnswer())},
        {"GetScopes", RecordingCaller::Answer(ScopesAnswer())},
        {"SetNetworkInterfaces", RecordingCaller::Answer(RebootNeededAnswer(false))},
    };
    return caller;
}

CameraSettings ReadCamera() {
    RecordingCaller caller = CameraCaller();
    const ReadResult result = DeviceClient(caller, ParseDottedAddress("192.0.2.10")).Read();
    EXPECT_EQ(result.end, ReadEnd::Complete);
    EXPECT_TRUE(result.unread.empty());
    return result.settings;
}

TEST(DeviceClientTest, AReadAsksEveryOperationAndAFailedOneLeavesItsFieldsUnknown) {
    RecordingCaller caller = CameraCaller();
    caller.script["GetDNS"] = {CallOutcome::Fault, {}, "ter:ActionNotSupported", "no DNS", {}};
    caller.script["GetHostname"] = RecordingCaller::Answer("<not soap/>");
    const ReadResult result = DeviceClient(caller, std::nullopt).Read();
    EXPECT_EQ(caller.Operations(),
              (std::vector<std::string>{"GetDeviceInformation", "GetNetworkInterfaces",
                                        "GetNetworkDefaultGateway", "GetDNS", "GetHostname",
                                        "GetNetworkProtocols", "GetScopes"}));
    EXPECT_EQ(result.end, ReadEnd::Complete);
    EXPECT_FALSE(result.settings.dns);
    EXPECT_FALSE(result.settings.hostname);
    EXPECT_EQ(result.settings.gateway, ParseDottedAddress("192.0.2.1"));
    EXPECT_EQ(result.settings.name, "Car park");
    ASSERT_EQ(result.unread.size(), 2u);
    EXPECT_EQ(result.unread[0].rfind("GetDNS: ", 0), 0u) << result.unread[0];
    EXPECT_NE(result.unread[0].find("no DNS"), std::string::npos);
    EXPECT_EQ(result.unread[1].rfind("GetHostname: ", 0), 0u) << result.unread[1];
}

TEST(DeviceClientTest, ARefusedLoginOrAnUnreachableCameraStopsTheRead) {
    for (const CallOutcome outcome : {CallOutcome::LoginRefused, CallOutcome::Unreachable}) {
        RecordingCaller caller = CameraCaller();
        caller.script["GetNetworkInterfaces"] = {outcome, {}, {}, {}, "said so"};
        const ReadResult result = DeviceClient(caller, std::nullopt).Read();
        EXPECT_EQ(result.end, outcome == CallOutcome::LoginRefused ? ReadEnd::LoginRefused
                                                                   : ReadEnd::Unreachable);
        EXPECT_EQ(caller.calls.size(), 2u) << "nothing is asked after the refusal";
        EXPECT_NE(result.detail.find("said so"), std::string::npos);
    }
}

TEST(DeviceClientTest, AChangeSendsOnlyWhatChangesAddressLast) {
    const CameraSettings read = ReadCamera();
    RecordingCaller caller = CameraCaller();
    SettingsChange change;
    change.address = ParseDottedAddress("192.0.2.20");
    change.gateway = ParseDottedAddress("192.0.2.254");
    change.dns1 = ParseDottedAddress("192.0.2.1");
    change.httpPort = 8000;
    change.name = "Front door";
    const ChangeResult result = DeviceClient(caller, std::nullopt).Change(read, change);
    EXPECT_EQ(result.end, ChangeEnd::Sent) << result.problem;
    EXPECT_EQ(caller.Operations(),
              (std::vector<std::string>{"SetScopes", "SetDNS", "SetNetworkDefaultGateway",
                                        "SetNetworkProtocols", "SetNetworkInterfaces"}));
    EXPECT_EQ(result.sent.size(), 5u);
    // Every other scope kept, the name replaced; DNS 2 and the search domain as read; the
    // HTTP protocol enabled as read, its second port kept; the netmask as read.
    const auto& body = [&](std::size_t index) { return caller.calls[index].body; };
    EXPECT_NE(body(0).find("city/Oslo"), std::string::npos);
    EXPECT_NE(body(0).find("name/Front%20door"), std::string::npos);
    EXPECT_EQ(body(0).find("name/Car"), std::string::npos);
    EXPECT_NE(body(0).find("Streaming?a=1&amp;b=2"), std::string::npos);
    EXPECT_NE(body(1).find("site.example"), std::string::npos);
    EXPECT_NE(body(1).find(">192.0.2.1<"), std::string::npos);
    EXPECT_NE(body(1).find(">192.0.2.54<"), std::string::npos);
    EXPECT_EQ(body(1).find(">192.0.2.53<"), std::string::npos);
    EXPECT_NE(body(3).find("<tt:Enabled>true</tt:Enabled><tt:Port>8000</tt:Port>"
                           "<tt:Port>8080</tt:Port>"),
              std::string::npos);
    EXPECT_NE(body(4).find("<tt:Address>192.0.2.20</tt:Address><tt:PrefixLength>24<"),
              std::string::npos);
}

TEST(DeviceClientTest, FieldsAsReadAreNotSent) {
    const CameraSettings read = ReadCamera();
    RecordingCaller caller = CameraCaller();
    SettingsChange change;
    change.address = read.address;
    change.netmask = read.Netmask();
    change.gateway = read.gateway;
    change.httpPort = 80;
    change.name = "Car park";
    change.dhcp = false;
    change.dns2 = read.Dns2();
    const ChangeResult result = DeviceClient(caller, std::nullopt).Change(read, change);
    EXPECT_EQ(result.end, ChangeEnd::Sent);
    EXPECT_TRUE(caller.calls.empty());

    change.netmask = ParseDottedAddress("255.255.0.0");
    EXPECT_EQ(DeviceClient(caller, std::nullopt).Change(read, change).end, ChangeEnd::Sent);
    EXPECT_EQ(caller.Operations(), std::vector<std::string>{"SetNetworkInterfaces"});
    EXPECT_NE(caller.calls[0].body.find("<tt:Address>192.0.2.10</tt:Address><tt:PrefixLength>16<"),
              std::string::npos);
}

TEST(DeviceClientTest, ACameraWithDhcpKeepsItUnlessTheChangeTurnsItOff) {
    CameraSettings read = ReadCamera();
    read.dhcp = true;
    RecordingCaller caller = CameraCaller();
    SettingsChange change;
    change.gateway = ParseDottedAddress("192.0.2.254");
    EXPECT_EQ(DeviceClient(caller, std::nullopt).Change(read, change).end, ChangeEnd::Sent);
    EXPECT_EQ(caller.Operations(), std::vector<std::string>{"SetNetworkDefaultGateway"});

    // An address without DHCP turned off is refused before anything is sent.
    caller.calls.clear();
    change.address = ParseDottedAddress("192.0.2.20");
    const ChangeResult refused = DeviceClient(caller, std::nullopt).Change(read, change);
    EXPECT_EQ(refused.end, ChangeEnd::NotSent);
    EXPECT_NE(refused.problem.find("DHCP"), std::string::npos);
    EXPECT_TRUE(caller.calls.empty());

    change.dhcp = false;
    EXPECT_EQ(DeviceClient(caller, std::nullopt).Change(read, change).end, ChangeEnd::Sent);
    EXPECT_NE(caller.calls.back().body.find("<tt:DHCP>false</tt:DHCP>"), std::string::npos);
    EXPECT_NE(caller.calls.back().body.find("<tt:Address>192.0.2.20<"), std::string::npos);
}

TEST(DeviceClientTest, AFailureMidwayStopsTheRestAndSaysWhichStepAndWhy) {
    const CameraSettings read = ReadCamera();
    RecordingCaller caller = CameraCaller();
    caller.script["SetNetworkDefaultGateway"] = {
        CallOutcome::Fault, {}, "ter:InvalidArgVal", "bad gateway", {}};
    SettingsChange change;
    change.address = ParseDottedAddress("192.0.2.20");
    change.gateway = ParseDottedAddress("192.0.2.254");
    change.name = "Front door";
    const ChangeResult result = DeviceClient(caller, std::nullopt).Change(read, change);
    EXPECT_EQ(result.end, ChangeEnd::StepFailed);
    EXPECT_EQ(result.failedStep, ChangeStep::Gateway);
    EXPECT_EQ(result.sent, std::vector<ChangeStep>{ChangeStep::Name});
    EXPECT_NE(result.problem.find("bad gateway"), std::string::npos);
    EXPECT_EQ(caller.Operations(),
              (std::vector<std::string>{"SetScopes", "SetNetworkDefaultGateway"}));

    // An answer that is not the operation's also stops it.
    caller.calls.clear();
    caller.script["SetNetworkDefaultGateway"] =
        RecordingCaller::Answer(EmptyAnswer("SetDNSResponse"));
    EXPECT_EQ(DeviceClient(caller, std::nullopt).Change(read, change).failedStep,
              ChangeStep::Gateway);
    EXPECT_EQ(caller.calls.size(), 2u);
}

TEST(DeviceClientTest, RebootNeededIsReportedAndTheRebootIsACallOfItsOwn) {
    const CameraSettings read = ReadCamera();
    RecordingCaller caller = CameraCaller();
    caller.script["SetNetworkInterfaces"] = RecordingCaller::Answer(RebootNeededAnswer(true));
    SettingsChange change;
    change.address = ParseDottedAddress("192.0.2.20");
    DeviceClient client(caller, std::nullopt);
    const ChangeResult result = client.Change(read, change);
    EXPECT_EQ(result.end, ChangeEnd::Sent);
    EXPECT_TRUE(result.rebootNeeded);
    EXPECT_EQ(caller.Operations(), std::vector<std::string>{"SetNetworkInterfaces"});

    caller.script["SystemReboot"] = RecordingCaller::Answer(
        Envelope("<tds:SystemRebootResponse><tds:Message>Rebooting</tds:Message>"
                 "</tds:SystemRebootResponse>"));
    EXPECT_EQ(client.Reboot(), "");
    EXPECT_EQ(caller.calls.back().operation, "SystemReboot");
    caller.script["SystemReboot"] = {CallOutcome::Unreachable, {}, {}, {}, "timed out"};
    EXPECT_NE(client.Reboot().find("timed out"), std::string::npos);
}

TEST(DeviceClientTest, AChangeThatCannotBePlannedSendsNothing) {
    // Values the change must keep that were not read, a netmask that is not contiguous, an
    // empty name: each is refused before anything is sent.
    CameraSettings read = ReadCamera();
    read.dns.reset();
    read.configurableScopes.reset();
    RecordingCaller caller = CameraCaller();
    SettingsChange change;
    change.gateway = ParseDottedAddress("192.0.2.254");
    change.dns1 = ParseDottedAddress("192.0.2.1");
    EXPECT_EQ(DeviceClient(caller, std::nullopt).Change(read, change).end, ChangeEnd::NotSent);
    change.dns1.reset();
    change.name = "N";
    EXPECT_EQ(DeviceClient(caller, std::nullopt).Change(read, change).end, ChangeEnd::NotSent);
    change.name.reset();
    change.netmask = ParseDottedAddress("255.0.255.0");
    read = ReadCamera();
    EXPECT_EQ(DeviceClient(caller, std::nullopt).Change(read, change).end, ChangeEnd::NotSent);
    change.netmask.reset();
    change.name = "";
    EXPECT_EQ(DeviceClient(caller, std::nullopt).Change(read, change).end, ChangeEnd::NotSent);
    EXPECT_TRUE(caller.calls.empty());
}

} // namespace
} // namespace vanmoor::onvif::test
