#include "LogCapture.h"

#include "config/SettingsChecks.h"

#include <climits>
#include <string>

namespace vanmoor::test {
namespace {

struct Values {
    std::array<std::uint8_t, 4> ip{192, 168, 1, 10};
    std::array<std::uint8_t, 4> netmask{255, 255, 255, 0};
    std::array<std::uint8_t, 4> gateway{192, 168, 1, 1};
    std::int32_t port = 80;
};

// The refusal line of `values`, "" when they pass.
std::string Refusal(const char* prefix, const Values& v) {
    TakeLibraryLog();
    const bool passed = CheckNewAddressValues(prefix, {v.ip, v.netmask, v.gateway, v.port});
    const std::string log = TakeLibraryLog();
    EXPECT_EQ(passed, log.empty()) << log;
    return log;
}

Values With(void (*change)(Values&)) {
    Values v;
    change(v);
    return v;
}

TEST(SettingsChecksTest, RefusalsInOrderWithTheCommandsPrefix) {
    for (const char* prefix : {kSetLogPrefix, kSetMD5LogPrefix, kSetMD5MutiLogPrefix}) {
        SCOPED_TRACE(prefix);
        const std::string p = prefix;
        EXPECT_EQ(Refusal(prefix, Values{}), "");
        // Each refusal also carries the faults of the later checks, which must not show.
        EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                              v.ip = {0, 0, 0, 0};
                              v.port = -1;
                          })),
                  p + "IP = 0.0.0.0\n");
        EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                              v.ip[3] = 0;
                              v.port = -1;
                          })),
                  p + "IP entend limit\n");
        EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                              v.ip[3] = 255;
                              v.gateway = {10, 0, 0, 1};
                          })),
                  p + "IP entend limit\n");
        EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                              v.port = -1;
                              v.gateway = {10, 0, 0, 1};
                          })),
                  p + "port < 0\n");
        EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                              v.port = 65537;
                              v.gateway = {10, 0, 0, 1};
                          })),
                  p + "port > 65536\n");
        EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                              v.gateway = {192, 168, 2, 1};
                          })),
                  p + "No Match, IP and GateWay\n");
    }
}

TEST(SettingsChecksTest, BoundaryValues) {
    const char* prefix = kSetLogPrefix;
    EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                          v.ip = {0, 168, 1, 5};
                      })),
              "CBroadCastManager::set : No Match, IP and GateWay\n"); // passes the octet checks
    EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                          v.ip = {0, 168, 1, 5};
                          v.gateway = {0, 168, 1, 1};
                      })),
              "");
    for (std::uint8_t last : {1, 254}) {
        Values v;
        v.ip[3] = last;
        EXPECT_EQ(Refusal(prefix, v), "") << int{last};
    }
    for (std::int32_t port : {0, 65536}) {
        Values v;
        v.port = port;
        EXPECT_EQ(Refusal(prefix, v), "") << port;
    }
    for (std::int32_t port : {INT_MIN, INT_MAX}) {
        Values v;
        v.port = port;
        EXPECT_NE(Refusal(prefix, v), "") << port;
    }
}

// The gateway is in the new subnet or 0.0.0.0; addresses that only look like common gateways
// are refused.
TEST(SettingsChecksTest, GatewayRule) {
    const char* prefix = kSetMD5LogPrefix;
    const std::string refused = "CBroadCastManager::set_MD5::No Match, IP and GateWay\n";
    EXPECT_EQ(Refusal(prefix, With([](Values& v) { v.gateway = {0, 0, 0, 0}; })), "");
    EXPECT_EQ(Refusal(prefix, With([](Values& v) { v.gateway = {192, 168, 1, 254}; })), "");
    EXPECT_EQ(Refusal(prefix, With([](Values& v) { v.gateway = {172, 16, 0, 1}; })), refused);
    EXPECT_EQ(Refusal(prefix, With([](Values& v) { v.gateway = {192, 168, 0, 1}; })), refused);
    EXPECT_EQ(Refusal(prefix, With([](Values& v) { v.gateway = {0, 0, 0, 1}; })), refused);
    EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                          v.netmask = {255, 255, 240, 0};
                          v.ip = {10, 1, 17, 20};
                          v.gateway = {10, 1, 31, 1};
                      })),
              "");
    EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                          v.netmask = {255, 255, 240, 0};
                          v.ip = {10, 1, 17, 20};
                          v.gateway = {10, 1, 32, 1};
                      })),
              refused);
    EXPECT_EQ(Refusal(prefix, With([](Values& v) {
                          v.netmask = {0, 0, 0, 0};
                          v.gateway = {203, 0, 113, 9};
                      })),
              "");
}

} // namespace
} // namespace vanmoor::test
