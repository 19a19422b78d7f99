// A camera's verified change end to end: the product's transport, login, device client and
// WS-Discovery watch against simulated cameras in lan 1 of the test network, each with the
// password "Öffne-mich 1" in UTF-8.
#include "CameraChange.h"
#include "DeviceClient.h"
#include "DeviceConfig.h"
#include "DeviceSession.h"
#include "SimulatorInLan.h"
#include "TestNetwork.h"
#include "WsdEndpointWatch.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace vanmoor::commission::test {
namespace {

using namespace std::chrono_literals;

constexpr char kPassword[] = "\xC3\x96"
                             "ffne-mich 1";
constexpr char kEndpoint[] = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000701";
const Ipv4Octets kAddress{192, 0, 2, 70};

std::unique_ptr<devsim::Simulator> StartCamera(const std::string& settings) {
    return devsim::test::StartInLan1({devsim::ParseDevice(
        "protocol=3702 mac=02:00:5e:00:07:01 ip=192.0.2.70 gateway=192.0.2.1 dns1=192.0.2.53 "
        "dns2=192.0.2.54 service=on reboot_pause=1000 password=\"" +
        std::string(kPassword) + "\" " + settings)});
}

// Changes the camera as the command line does: read first, then change and verify.
class CameraChangeTest : public ::testing::Test {
protected:
    CameraChangeResult Change(const SettingsChange& change, std::chrono::seconds wait = 15s,
                              const std::string& password = kPassword) {
        CameraAccess camera;
        camera.endpoint = kEndpoint;
        camera.deviceServiceUrl = "http://192.0.2.70/onvif/device_service";
        camera.address = kAddress;
        camera.credentials = {"admin", kPassword};
        onvif::DeviceSession session(*transport, camera.deviceServiceUrl, camera.credentials);
        const onvif::ReadResult read = onvif::DeviceClient(session, kAddress).Read();
        EXPECT_EQ(read.end, onvif::ReadEnd::Complete) << read.detail;
        camera.read = read.settings;
        camera.credentials.password = password;
        CameraChange changer(*transport, watch, {wait, {}});
        return changer.Apply(camera, change, [this](ChangeProgress now) { told.push_back(now); });
    }

    std::unique_ptr<HttpTransport> transport = onvif::MakeHttpTransport({});
    WsdEndpointWatch watch{{{vanmoor::test::TestNetwork::Get().pcAddresses[0]}, 500ms}};
    std::vector<ChangeProgress> told;
};

TEST_F(CameraChangeTest, DigestOnlyCameraMovesAndKeepsWhatNobodyAskedToChange) {
    auto simulator = StartCamera("login=digest");
    SettingsChange change;
    change.address = Ipv4Octets{192, 0, 2, 71};
    change.dns1 = Ipv4Octets{192, 0, 2, 63};

    const CameraChangeResult result = Change(change);

    EXPECT_EQ(result.verdict, ChangeVerdict::Changed) << result.detail;
    EXPECT_EQ(result.sent, (std::vector{ChangeStep::Dns, ChangeStep::Interface}));
    EXPECT_EQ(result.seen.address, change.address);
    EXPECT_EQ(result.seen.Dns2(), (Ipv4Octets{192, 0, 2, 54}));
    EXPECT_EQ(result.seen.gateway, (Ipv4Octets{192, 0, 2, 1}));
    EXPECT_FALSE(result.rebooted);
}

TEST_F(CameraChangeTest, UsernameTokenOnlyCameraAnHourAheadTakesItsGateway) {
    auto simulator = StartCamera("login=wsse clock=3600");
    SettingsChange change;
    change.gateway = Ipv4Octets{192, 0, 2, 254};

    const CameraChangeResult result = Change(change);

    EXPECT_EQ(result.verdict, ChangeVerdict::Changed) << result.detail;
    EXPECT_EQ(result.seen.gateway, change.gateway);
}

TEST_F(CameraChangeTest, CameraThatNeedsARebootIsRebootedAndSeenAtItsNewAddress) {
    auto simulator = StartCamera("login=wsse clock=3600 reboot_needed=on");
    SettingsChange change;
    change.address = Ipv4Octets{192, 0, 2, 72};

    const CameraChangeResult result = Change(change);

    EXPECT_EQ(result.verdict, ChangeVerdict::Changed) << result.detail;
    EXPECT_TRUE(result.rebooted);
    EXPECT_EQ(result.seen.address, change.address);
    EXPECT_NE(std::find(told.begin(), told.end(), ChangeProgress::Rebooting), told.end());
}

TEST_F(CameraChangeTest, AddressAndPortChangedTogether) {
    auto simulator = StartCamera("login=both");
    SettingsChange change;
    change.address = Ipv4Octets{192, 0, 2, 73};
    change.httpPort = 8080;

    const CameraChangeResult result = Change(change);

    EXPECT_EQ(result.verdict, ChangeVerdict::Changed) << result.detail;
    EXPECT_EQ(result.seen.HttpPort(), 8080);
    EXPECT_EQ(simulator->Device(0).webPort, 8080);
}

TEST_F(CameraChangeTest, DhcpTurnedOnIsSeenWhereverTheCameraAnswers) {
    auto simulator = StartCamera("login=both");
    SettingsChange change;
    change.dhcp = true;

    const CameraChangeResult result = Change(change);

    EXPECT_EQ(result.verdict, ChangeVerdict::Changed) << result.detail;
    EXPECT_EQ(result.seen.dhcp, true);
}

TEST_F(CameraChangeTest, RefusedOrUnchangedSettingsSendNothing) {
    auto simulator = StartCamera("login=both");
    SettingsChange outside;
    outside.gateway = Ipv4Octets{198, 51, 100, 1};
    SettingsChange same;
    same.gateway = Ipv4Octets{192, 0, 2, 1};

    EXPECT_EQ(Change(outside).verdict, ChangeVerdict::NotSent);
    EXPECT_EQ(Change(same).verdict, ChangeVerdict::NothingToChange);
    for (const devsim::ServiceRequest& request : simulator->ServiceRequests()) {
        EXPECT_NE(request.operation.rfind("Set", 0), 0u) << request.operation;
    }
}

TEST_F(CameraChangeTest, CameraThatSaysOkAndKeepsItsSettingsIsKept) {
    auto simulator = StartCamera("changes=ignore");
    SettingsChange change;
    change.gateway = Ipv4Octets{192, 0, 2, 254};

    const CameraChangeResult result = Change(change, 2s);
    EXPECT_EQ(result.verdict, ChangeVerdict::Kept);
    EXPECT_NE(result.detail.find("said OK but kept its settings: it still has gateway 192.0.2.1"),
              std::string::npos)
        << result.detail;

    change.address = Ipv4Octets{192, 0, 2, 74};
    const CameraChangeResult moved = Change(change, 2s);
    EXPECT_EQ(moved.verdict, ChangeVerdict::Kept);
    EXPECT_EQ(moved.detail, "the camera said OK but kept its settings");
}

TEST_F(CameraChangeTest, CameraThatDropsTheConnectionIsNotChanged) {
    auto simulator = StartCamera("changes=drop");
    SettingsChange change;
    change.gateway = Ipv4Octets{192, 0, 2, 254};

    const CameraChangeResult result = Change(change, 2s);

    EXPECT_EQ(result.verdict, ChangeVerdict::Failed) << result.detail;
    EXPECT_TRUE(result.sent.empty());

    // Lost while the camera may be moving: looked for, not taken as refused.
    SettingsChange move;
    move.address = Ipv4Octets{192, 0, 2, 75};
    const CameraChangeResult moved = Change(move, 2s);
    EXPECT_EQ(moved.verdict, ChangeVerdict::NotConfirmed) << moved.detail;
    EXPECT_NE(moved.detail.find("not seen at 192.0.2.75"), std::string::npos) << moved.detail;
}

TEST_F(CameraChangeTest, WrongPasswordIsRefusedAndNoLoginFollows) {
    auto simulator = StartCamera("login=both");
    SettingsChange change;
    change.gateway = Ipv4Octets{192, 0, 2, 254};

    const CameraChangeResult result = Change(change, 2s, "Offne-mich 1");

    EXPECT_EQ(result.verdict, ChangeVerdict::LoginRefused) << result.detail;
    const std::vector<devsim::ServiceRequest> requests = simulator->ServiceRequests();
    const auto refused = std::find_if(requests.begin(), requests.end(), [](const auto& request) {
        return request.login != devsim::LoginSeen::None && !request.accepted;
    });
    ASSERT_NE(refused, requests.end());
    for (auto later = refused + 1; later != requests.end(); ++later) {
        EXPECT_NE(later->operation.rfind("Set", 0), 0u) << later->operation;
        EXPECT_NE(later->operation, "SystemReboot");
    }
    EXPECT_EQ(simulator->Device(0).gateway, (devsim::Ipv4{192, 0, 2, 1}));
}

} // namespace
} // namespace vanmoor::commission::test
