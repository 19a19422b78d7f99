// Hostile cameras end to end: the product's session and client over the real transport, against
// the simulator's misbehaving device service in lan 1 of the test network. Each read ends with
// a clear outcome, within the request limits, holding no more than the body limit.
#include "DeviceClient.h"
#include "DeviceConfig.h"
#include "DeviceSession.h"
#include "HttpTransport.h"
#include "SimulatorInLan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>

namespace vanmoor::onvif {
namespace {

using namespace std::chrono_literals;

constexpr char kUrl[] = "http://192.0.2.70/onvif/device_service";

// Limits short enough that a hostile camera costs the test little, far above what the
// simulator needs to answer.
constexpr HttpLimits kLimits{1000ms, 3000ms, 256 * 1024};

struct HostileRead {
    ReadResult read;
    std::chrono::steady_clock::duration took;
    std::size_t requestsSeen; // by the camera
};

HostileRead ReadHostileCamera(const std::string& hostile) {
    auto simulator = devsim::test::StartInLan1({devsim::ParseDevice(
        "protocol=3702 mac=02:00:5e:00:07:01 ip=192.0.2.70 service=on user=admin password=admin "
        "service_hostile=" +
        hostile)});
    const auto transport = MakeHttpTransport({});
    DeviceSession session(*transport, kUrl, {"admin", "admin"}, kLimits);
    DeviceClient client(session, Ipv4Octets{192, 0, 2, 70});
    const auto start = std::chrono::steady_clock::now();
    HostileRead result{client.Read(), {}, 0};
    result.took = std::chrono::steady_clock::now() - start;
    result.requestsSeen = simulator->ServiceRequests().size();
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

TEST(HostileCameraTest, BodyLargerThanTheLimitIsCutOffAndNothingRead) {
    const HostileRead hostile = ReadHostileCamera("huge");
    ExpectEveryOperationUnread(hostile.read, "larger than");
}

TEST(HostileCameraTest, BodyThatNeverEndsEndsTheReadAtTheLimit) {
    const HostileRead hostile = ReadHostileCamera("endless");
    const ReadResult& read = hostile.read;
    // The endless body passes the size limit, or the exchange the time limit, whichever first;
    // either way the read ends instead of waiting on.
    if (read.end == ReadEnd::Unreachable) {
        EXPECT_NE(read.detail.find("could not be reached"), std::string::npos) << read.detail;
    } else {
        ExpectEveryOperationUnread(read, "not usable");
    }
    std::cout << "endless body: read ended after "
              << std::chrono::duration_cast<std::chrono::milliseconds>(hostile.took).count()
              << " ms\n";
}

TEST(HostileCameraTest, DrippingBodyEndsTheReadAtTheTimeLimit) {
    const HostileRead hostile = ReadHostileCamera("drip");
    EXPECT_EQ(hostile.read.end, ReadEnd::Unreachable);
    EXPECT_NE(hostile.read.detail.find("did not answer in time"), std::string::npos)
        << hostile.read.detail;
    // The request after the one that timed out would only wait out the limit again.
    EXPECT_EQ(hostile.requestsSeen, 1u);
    std::cout << "dripping body: read ended after "
              << std::chrono::duration_cast<std::chrono::milliseconds>(hostile.took).count()
              << " ms, " << hostile.requestsSeen << " requests\n";
}

TEST(HostileCameraTest, DocumentTypeIsRefusedAndNoEntityExpanded) {
    const HostileRead hostile = ReadHostileCamera("doctype");
    ExpectEveryOperationUnread(hostile.read, "not usable");
}

TEST(HostileCameraTest, RedirectIsNotFollowed) {
    const HostileRead hostile = ReadHostileCamera("redirect");
    ExpectEveryOperationUnread(hostile.read, "redirects are not followed");
}

TEST(HostileCameraTest, FaultWithOddTextKeepsItsReasonBounded) {
    const HostileRead hostile = ReadHostileCamera("odd-fault");
    ExpectEveryOperationUnread(hostile.read, "answered with a fault");
    for (const std::string& unread : hostile.read.unread) {
        EXPECT_LT(unread.size(), 2000u); // the camera's 20,000 characters are not all kept
    }
}

} // namespace
} // namespace vanmoor::onvif
