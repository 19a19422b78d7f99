#include "LogCapture.h"

#include "config/SettingsChecks.h"

#include <climits>
#include <string>

namespace vanmoor::test {
namespace {

using Octets = std::array<std::uint8_t, 4>;

struct Case {
    Octets ip, netmask, gateway;
    std::int32_t port;
    const char* refusal; // after the prefix; "" when the values pass
};

// Each refusal also carries the faults of the later checks, which must not show.
const Case kCases[] = {
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {192, 168, 1, 1}, 80, ""},
    {{0, 0, 0, 0}, {255, 255, 255, 0}, {10, 0, 0, 1}, -1, "IP = 0.0.0.0\n"},
    {{192, 168, 1, 0}, {255, 255, 255, 0}, {10, 0, 0, 1}, -1, "IP entend limit\n"},
    {{192, 168, 1, 255}, {255, 255, 255, 0}, {10, 0, 0, 1}, 80, "IP entend limit\n"},
    {{192, 168, 1, 1}, {255, 255, 255, 0}, {10, 0, 0, 1}, 80, "No Match, IP and GateWay\n"},
    {{192, 168, 1, 254}, {255, 255, 255, 0}, {192, 168, 1, 1}, 0, ""},
    {{0, 168, 1, 5}, {255, 255, 255, 0}, {0, 168, 1, 1}, 80, ""},
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {10, 0, 0, 1}, -1, "port < 0\n"},
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {10, 0, 0, 1}, INT_MIN, "port < 0\n"},
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {192, 168, 1, 1}, 65536, ""},
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {10, 0, 0, 1}, 65537, "port > 65536\n"},
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {10, 0, 0, 1}, INT_MAX, "port > 65536\n"},
    // Gateway: in the new subnet, or 0.0.0.0 for none.
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {0, 0, 0, 0}, 80, ""},
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {0, 0, 0, 1}, 80, "No Match, IP and GateWay\n"},
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {172, 16, 0, 1}, 80, "No Match, IP and GateWay\n"},
    {{192, 168, 1, 10}, {255, 255, 255, 0}, {192, 168, 0, 1}, 80, "No Match, IP and GateWay\n"},
    {{10, 1, 17, 20}, {255, 255, 240, 0}, {10, 1, 31, 1}, 80, ""},
    {{10, 1, 17, 20}, {255, 255, 240, 0}, {10, 1, 32, 1}, 80, "No Match, IP and GateWay\n"},
    {{192, 168, 1, 10}, {0, 0, 0, 0}, {203, 0, 113, 9}, 80, ""},
};

TEST(SettingsChecksTest, FirstRefusalIsLoggedWithTheCommandsPrefix) {
    for (const char* prefix : {kSetLogPrefix, kSetMD5LogPrefix, kSetMD5MutiLogPrefix}) {
        for (const Case& c : kCases) {
            TakeLibraryLog();
            const bool passed = CheckNewAddressValues(prefix, {c.ip, c.netmask, c.gateway, c.port});
            const std::string expected = *c.refusal ? std::string(prefix) + c.refusal : "";
            EXPECT_EQ(TakeLibraryLog(), expected);
            EXPECT_EQ(passed, expected.empty()) << expected;
        }
    }
}

} // namespace
} // namespace vanmoor::test
