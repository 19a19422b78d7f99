// The session and the client over the platform's transport (libcurl here, WinHTTP in the
// Windows build) against the simulated cameras of cameras.conf in lan 1 of the test network:
// a camera of Digest alone, one of UsernameToken alone whose clock is an hour ahead and which
// takes a new address only at a reboot, and one that answers changes as done and keeps its
// settings.
#include "SimulatedCameras.h"

#include <chrono>
#include <string>
#include <thread>

namespace vanmoor::onvif::test {
namespace {

using namespace std::chrono_literals;

class CameraSessionTest : public SimulatedCameras {};

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
} // namespace vanmoor::onvif::test
