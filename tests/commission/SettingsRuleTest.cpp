#include "SettingsRule.h"
#include "SiteDevices.h"

#include <gtest/gtest.h>

namespace vanmoor::commission::test {
namespace {

// The English refusal, empty when the settings pass.
std::string Refusal(const std::string& ip, const std::string& netmask,
                    const std::string& gateway = "0.0.0.0") {
    const auto why = WhySettingsRefused(Ip(ip), Ip(netmask), Ip(gateway));
    return why ? EnglishText(*why) : "";
}

TEST(SettingsRuleTest, AddressesNoDeviceCanUseAreRefused) {
    EXPECT_EQ(Refusal("127.0.0.5", "255.0.0.0"),
              "address 127.0.0.5 is a loopback address, which no device can use");
    EXPECT_NE(Refusal("239.1.1.5", "255.255.255.0"), "");
    EXPECT_NE(Refusal("0.0.0.7", "255.255.255.0"), "");
    EXPECT_NE(Refusal("240.0.0.7", "255.255.255.0"), "");
    EXPECT_EQ(Refusal("192.0.2.10", "255.255.255.0", "127.0.0.1"),
              "gateway 127.0.0.1 is a loopback address, which no device can use");
    EXPECT_NE(Refusal("192.0.2.10", "255.255.255.0", "224.0.0.1"), "");
}

TEST(SettingsRuleTest, AZeroOrHoleyNetmaskIsRefusedWhateverTheGateway) {
    EXPECT_EQ(Refusal("192.0.2.10", "0.0.0.0", "198.51.100.1"),
              "netmask 0.0.0.0 leaves the device no subnet");
    EXPECT_EQ(Refusal("192.0.2.10", "255.0.255.0"), "netmask 255.0.255.0 is not contiguous");
}

TEST(SettingsRuleTest, TheSubnetsNetworkAndBroadcastAreRefusedExceptWhereTheyDoNotExist) {
    EXPECT_EQ(Refusal("192.0.2.127", "255.255.255.128"),
              "192.0.2.127 is the network or broadcast address of 192.0.2.0/25");
    EXPECT_NE(Refusal("192.0.2.128", "255.255.255.128"), "");
    EXPECT_EQ(Refusal("192.0.2.126", "255.255.255.128", "192.0.2.1"), "");
    EXPECT_EQ(Refusal("192.0.2.10", "255.255.255.0", "192.0.2.255"),
              "gateway 192.0.2.255 is the network or broadcast address of 192.0.2.0/24");
    // A /31 joins two hosts and a /32 is one: neither has a network or broadcast address.
    EXPECT_EQ(Refusal("192.0.2.10", "255.255.255.254", "192.0.2.11"), "");
    EXPECT_EQ(Refusal("192.0.2.10", "255.255.255.255"), "");
    // A host of a /16, but the library sends no address ending in 0 or 255.
    EXPECT_EQ(Refusal("10.0.1.0", "255.255.0.0"),
              "the last number of address 10.0.1.0 must lie between 1 and 254");
}

// The gateway must lie in the subnet that the netmask gives, whatever its length.
TEST(SettingsRuleTest, TheGatewayRuleFollowsTheNetmaskNotTheThirdNumber) {
    EXPECT_EQ(Refusal("10.1.2.30", "255.255.0.0", "10.1.0.1"), "");
    EXPECT_EQ(Refusal("192.0.2.10", "255.255.255.128", "192.0.2.200"),
              "gateway 192.0.2.200 is outside 192.0.2.0/25");
    EXPECT_EQ(Refusal("192.0.2.10", "255.255.255.128", "192.0.2.100"), "");
    EXPECT_NE(Refusal("10.1.2.30", "255.255.0.0", "10.2.0.1"), "");
    EXPECT_EQ(Refusal("10.1.2.30", "255.255.0.0", "0.0.0.0"), "");
}

} // namespace
} // namespace vanmoor::commission::test
