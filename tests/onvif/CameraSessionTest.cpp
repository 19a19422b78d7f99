// The session and the client over the platform's transport (libcurl here, WinHTTP in the
// Windows build) against the simulated cameras of cameras.conf in lan 1 of the test network:
// a camera of Digest alone, one of UsernameToken alone whose clock is an hour ahead and which
// takes a new address only at a reboot, and one that answers changes as done and keeps its
// settings. On Linux the test starts the simulator; under Wine, tests/windows/wine-network.sh
// starts it and sets VANMOOR_ONVIF_CAMERAS.
#include "DeviceClient.h"
#include "DeviceSession.h"
#include "HttpTransport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#ifndef _WIN32
#include "ProgramInLan.h"
#endif

namespace vanmoor::onvif {
namespace {

using namespace std::chrono_literals;

const Credentials kAdmin{"admin", "\xC3\x96"
                                  "ffne-mich 1"}; // "Öffne-mich 1" in UTF-8

// One camera's session and client, the camera at 192.0.2.`host`.
class Camera {
public:
    explicit Camera(std::uint8_t host, const Credentials& credentials = kAdmin)
        : m_transport(MakeHttpTransport({})),
          m_session(*m_transport,
                    "http://192.0.2." + std::to_string(host) + "/onvif/device_service",
                    credentials),
          m_client(m_session, Ipv4Octets{192, 0, 2, host}) {}

    DeviceSession& Session() { return m_session; }
    DeviceClient& Client() { return m_client; }

private:
    std::unique_ptr<HttpTransport> m_transport;
    DeviceSession m_session;
    DeviceClient m_client;
};

class CameraSessionTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef _WIN32
        s_Ready = std::getenv("VANMOOR_ONVIF_CAMERAS") != nullptr;
#else
        s_Simulator = std::make_unique<test::ProgramInLan>(
            1, VANMOOR_DEVSIM_PROGRAM,
            std::vector<std::string>{"--config", VANMOOR_ONVIF_CAMERAS, "--ready"});
        s_Ready = s_Simulator->ReadLine(10s).starts_with("vanmoor-devsim ready");
#endif
    }
#ifndef _WIN32
    static void TearDownTestSuite() {
        s_Simulator.reset();
    }
    static inline std::unique_ptr<test::ProgramInLan> s_Simulator;
#endif

    void SetUp() override {
        ASSERT_TRUE(s_Ready) << "the simulated cameras are not running";
    }

    static inline bool s_Ready = false;
};

void ExpectWholeRead(const ReadResult& read, const std::string& name) {
    ASSERT_EQ(read.end, ReadEnd::Complete) << read.detail;
    EXPECT_TRUE(read.unread.empty()) << read.unread.front();
    EXPECT_EQ(read.settings.name, name);
    EXPECT_TRUE(read.settings.mac.has_value());
}

TEST_F(CameraSessionTest, DigestOnlyCameraIsReadWithANonAsciiPassword) {
    Camera camera(71);
    ExpectWholeRead(camera.Client().Read(), "Digest only");
}

TEST_F(CameraSessionTest, TokenOnlyCameraAnHourAheadIsReadOnItsOwnClock) {
    Camera camera(72);
    ExpectWholeRead(camera.Client().Read(), "Token only");
    const auto offset = camera.Session().CameraClockOffset();
    ASSERT_TRUE(offset.has_value());
    EXPECT_NEAR(std::chrono::duration<double>(*offset).count(), 3600.0, 5.0);
}

TEST_F(CameraSessionTest, WrongPasswordIsRefusedWithEitherLogin) {
    for (const std::uint8_t host : {71, 72}) {
        // The password's Latin-1 bytes are another password.
        Camera camera(host, {"admin", "\xD6"
                                      "ffne-mich 1"});
        const ReadResult read = camera.Client().Read();
        EXPECT_EQ(read.end, ReadEnd::LoginRefused) << read.detail;
        EXPECT_NE(read.detail.find("refused the user name and password"), std::string::npos)
            << read.detail;
    }
}

TEST_F(CameraSessionTest, CameraThatNeedsARebootTakesItsAddressAfterIt) {
    Camera camera(72);
    const ReadResult read = camera.Client().Read();
    ASSERT_EQ(read.end, ReadEnd::Complete) << read.detail;
    SettingsChange moveTo;
    moveTo.address = Ipv4Octets{192, 0, 2, 82};
    const ChangeResult change = camera.Client().Change(read.settings, moveTo);
    ASSERT_EQ(change.end, ChangeEnd::Sent) << change.problem;
    EXPECT_TRUE(change.rebootNeeded);
    EXPECT_EQ(camera.Client().Reboot(), "");

    // Silent while it reboots, then at its new address.
    ReadResult moved;
    for (int attempt = 0; attempt < 20 && moved.settings.address != Ipv4Octets{192, 0, 2, 82};
         ++attempt) {
        std::this_thread::sleep_for(250ms);
        moved = Camera(82).Client().Read();
    }
    EXPECT_EQ(moved.settings.address, (Ipv4Octets{192, 0, 2, 82})) << moved.detail;
}

TEST_F(CameraSessionTest, CameraThatIgnoresAChangeAnswersItAsSentAndKeepsItsName) {
    Camera camera(73);
    const ReadResult read = camera.Client().Read();
    ASSERT_EQ(read.end, ReadEnd::Complete) << read.detail;
    SettingsChange rename;
    rename.name = "Renamed";
    const ChangeResult change = camera.Client().Change(read.settings, rename);
    EXPECT_EQ(change.end, ChangeEnd::Sent) << change.problem;
    EXPECT_EQ(camera.Client().Read().settings.name, "Stubborn");
}

} // namespace
} // namespace vanmoor::onvif
