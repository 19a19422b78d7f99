// Hostile cameras end to end: the session and the client over the platform's transport,
// against the misbehaving simulated cameras of cameras.conf. Each read ends with a clear
// outcome, within the request limits, holding no more than the body limit.
#include "SimulatedCameras.h"

#include <chrono>
#include <iostream>
#include <string>

namespace vanmoor::onvif::test {
namespace {

using namespace std::chrono_literals;

// Limits short enough that a hostile camera costs the test little, far above what the
// simulator needs to answer.
constexpr HttpLimits kLimits{1000ms, 3000ms, 256 * 1024};

class HostileCameraTest : public SimulatedCameras {};

struct HostileRead {
    ReadResult read;
    std::chrono::steady_clock::duration took;
    int requestsSent;
};

HostileRead ReadHostileCamera(std::uint8_t host) {
    Camera camera(host, kCameraAdmin, kLimits);
    const auto start = std::chrono::steady_clock::now();
    HostileRead result{camera.Client().Read(), {}, 0};
    result.took = std::chrono::steady_clock::now() - start;
    result.requestsSent = camera.RequestsSent();
    return result;
}

// Every operation the read tried ended with `problem` in its words.
void ExpectEveryOperationUnread(const ReadResult& read, const std::string& problem) {
    ASSERT_EQ(read.end, ReadEnd::Complete) << read.detail;
    ASSERT_EQ(read.unread.size(), 7u);
    for (const std::string& unread : read.unread) {
        EXPECT_NE(unread.find(problem), std::string::npos) << unread;
    }
    EXPECT_FALSE(read.settings.hostname.has_value());
}

long long Milliseconds(std::chrono::steady_clock::duration took) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
}

TEST_F(HostileCameraTest, BodyLargerThanTheLimitIsCutOffAndNothingRead) {
    ExpectEveryOperationUnread(ReadHostileCamera(74).read, "larger than");
}

TEST_F(HostileCameraTest, BodyThatNeverEndsEndsTheReadAtTheLimit) {
    const HostileRead hostile = ReadHostileCamera(75);
    const ReadResult& read = hostile.read;
    // The endless body passes the size limit, or the exchange the time limit, whichever first;
    // either way the read ends instead of waiting on.
    if (read.end == ReadEnd::Unreachable) {
        EXPECT_NE(read.detail.find("could not be reached"), std::string::npos) << read.detail;
    } else {
        ExpectEveryOperationUnread(read, "not usable");
    }
    std::cout << "endless body: read ended after " << Milliseconds(hostile.took) << " ms\n";
}

TEST_F(HostileCameraTest, DrippingBodyEndsTheReadAtTheTimeLimit) {
    const HostileRead hostile = ReadHostileCamera(76);
    EXPECT_EQ(hostile.read.end, ReadEnd::Unreachable);
    EXPECT_NE(hostile.read.detail.find("did not answer in time"), std::string::npos)
        << hostile.read.detail;
    // The request after the one that timed out would only wait out the limit again.
    EXPECT_EQ(hostile.requestsSent, 1);
    std::cout << "dripping body: read ended after " << Milliseconds(hostile.took) << " ms\n";
}

TEST_F(HostileCameraTest, DocumentTypeIsRefusedAndNoEntityExpanded) {
    ExpectEveryOperationUnread(ReadHostileCamera(77).read, "not usable");
}

TEST_F(HostileCameraTest, RedirectIsNotFollowed) {
    ExpectEveryOperationUnread(ReadHostileCamera(78).read, "redirects are not followed");
}

TEST_F(HostileCameraTest, FaultWithOddTextKeepsItsReasonBounded) {
    const HostileRead hostile = ReadHostileCamera(79);
    ExpectEveryOperationUnread(hostile.read, "answered with a fault");
    for (const std::string& unread : hostile.read.unread) {
        EXPECT_LT(unread.size(), 2000u); // the camera's 20,000 characters are not all kept
    }
}

} // namespace
} // namespace vanmoor::onvif::test
