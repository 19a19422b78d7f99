#include "SiteCheck.h"
#include "SiteDevices.h"

#include <gtest/gtest.h>

namespace vanmoor::commission::test {
namespace {

// The kinds found for the device with MAC ending in `last`, in order.
std::vector<FindingKind> KindsFor(const std::vector<Finding>& findings, int last) {
    std::vector<FindingKind> kinds;
    for (const Finding& finding : findings) {
        if (finding.mac[5] == last) {
            kinds.push_back(finding.kind);
        }
    }
    return kinds;
}

TEST(SiteCheckTest, AWellSetSiteHasNoFinding) {
    const auto findings =
        CheckSite({Camera(1, "192.0.2.10", "Door"), Camera(2, "192.0.2.11", "Gate")}, {Host()});
    EXPECT_TRUE(findings.empty());
    EXPECT_FALSE(HasError(findings));
}

TEST(SiteCheckTest, SharedAddressesAndTheHostsOwnAreDuplicates) {
    const auto findings = CheckSite({Camera(1, "192.0.2.10"), Camera(2, "192.0.2.10"),
                                     Camera(3, "192.0.2.1"), Camera(4, "192.0.2.12")},
                                    {Host()});
    EXPECT_EQ(KindsFor(findings, 1), std::vector{FindingKind::DuplicateAddress});
    EXPECT_EQ(KindsFor(findings, 2), std::vector{FindingKind::DuplicateAddress});
    EXPECT_EQ(KindsFor(findings, 3), std::vector{FindingKind::DuplicateAddress});
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_NE(EnglishText(findings[2].message).find("host's own"), std::string::npos)
        << EnglishText(findings[2].message);
    EXPECT_TRUE(KindsFor(findings, 4).empty());
    EXPECT_TRUE(HasErrorFor(findings, *Camera(1, "192.0.2.10").mac));
    EXPECT_FALSE(HasErrorFor(findings, *Camera(4, "192.0.2.12").mac));
}

TEST(SiteCheckTest, ADeviceOutsideTheSubnetItWasFoundThroughIsUnreachableWithTheSubnetThatFits) {
    SiteDevice away = Camera(1, "10.1.2.30");
    away.gateway = Ip("10.1.2.1");
    away.netmask = Ip("255.255.0.0");
    const auto findings = CheckSite({away, Camera(2, "192.0.2.30")}, {Host()});
    ASSERT_EQ(KindsFor(findings, 1), std::vector{FindingKind::Unreachable});
    EXPECT_NE(EnglishText(findings[0].message).find("10.1.0.0/16"), std::string::npos)
        << EnglishText(findings[0].message);
    EXPECT_NE(EnglishText(findings[0].message).find("192.0.2.0/24"), std::string::npos)
        << EnglishText(findings[0].message);
    EXPECT_TRUE(KindsFor(findings, 2).empty());

    // Without the address it came through, any subnet of the host will do.
    SiteDevice unknownWay = away;
    unknownWay.localAddress.reset();
    SiteDevice otherLan = Camera(4, "198.51.100.9");
    otherLan.localAddress.reset();
    otherLan.gateway = Ip("0.0.0.0");
    const HostAddress secondLan{Ip("198.51.100.1"), Ip("255.255.255.0")};
    const auto unknown = CheckSite({unknownWay, otherLan}, {Host(), secondLan});
    ASSERT_EQ(KindsFor(unknown, 1), std::vector{FindingKind::Unreachable});
    EXPECT_NE(EnglishText(unknown[0].message).find("10.1.0.0/16"), std::string::npos)
        << EnglishText(unknown[0].message);
    EXPECT_TRUE(KindsFor(unknown, 4).empty());
}

TEST(SiteCheckTest, BadOwnSettingsAreFoundAndANoneGatewayIsFine) {
    SiteDevice gatewayAway = Camera(1, "192.0.2.10");
    gatewayAway.gateway = Ip("192.0.3.1");
    SiteDevice holeyMask = Camera(2, "192.0.2.11");
    holeyMask.netmask = Ip("255.0.255.0");
    SiteDevice noGateway = Camera(5, "192.0.2.14");
    noGateway.gateway = Ip("0.0.0.0");
    SiteDevice dhcp = Camera(6, "192.0.2.15");
    dhcp.gateway = Ip("192.0.3.1");
    dhcp.dhcp = true;
    const auto findings = CheckSite(
        {gatewayAway, holeyMask, Camera(3, "192.0.2.0"), Camera(4, "192.0.2.255"), noGateway, dhcp},
        {Host()});
    for (int last = 1; last <= 4; ++last) {
        EXPECT_EQ(KindsFor(findings, last), std::vector{FindingKind::BadSettings}) << last;
    }
    EXPECT_TRUE(KindsFor(findings, 5).empty());
    EXPECT_TRUE(KindsFor(findings, 6).empty()) << "a DHCP server's choice is not the device's";
}

// Measured against the device's own netmask: a /16's gateway may lie in another third number,
// a /25's may not lie in the other half.
TEST(SiteCheckTest, TheGatewayRuleFollowsTheNetmaskNotTheThirdNumber) {
    SiteDevice wide = Camera(1, "10.1.2.30");
    wide.netmask = Ip("255.255.0.0");
    wide.gateway = Ip("10.1.0.1");
    SiteDevice half = Camera(2, "192.0.2.10");
    half.netmask = Ip("255.255.255.128");
    half.gateway = Ip("192.0.2.200");
    const auto findings = CheckSite({wide, half}, {});
    EXPECT_TRUE(KindsFor(findings, 1).empty());
    EXPECT_EQ(KindsFor(findings, 2), std::vector{FindingKind::BadSettings});
}

TEST(SiteCheckTest, AddressesNoDeviceCanUseAndAnEmptyNetmaskAreBadSettingsWithoutAFix) {
    SiteDevice noMask = Camera(3, "198.51.100.20");
    noMask.netmask = Ip("0.0.0.0");
    noMask.gateway = Ip("0.0.0.0");
    const auto findings =
        CheckSite({Camera(1, "224.0.0.5"), Camera(2, "127.0.0.5"), noMask}, {Host()});
    for (int last = 1; last <= 2; ++last) {
        EXPECT_EQ(KindsFor(findings, last), std::vector{FindingKind::BadSettings}) << last;
    }
    EXPECT_EQ(KindsFor(findings, 3),
              (std::vector{FindingKind::Unreachable, FindingKind::BadSettings}));
    for (const Finding& finding : findings) {
        EXPECT_EQ(EnglishText(finding.message).find("would reach it"), std::string::npos)
            << EnglishText(finding.message);
    }
}

TEST(SiteCheckTest, ASharedNameIsOnlyAWarningAndEmptyNamesAreNotShared) {
    const auto findings = CheckSite({Camera(1, "192.0.2.10", "Cam"), Camera(2, "192.0.2.11", "Cam"),
                                     Camera(3, "192.0.2.12"), Camera(4, "192.0.2.13")},
                                    {Host()});
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].kind, FindingKind::DuplicateName);
    EXPECT_EQ(findings[0].severity, Severity::Warning);
    EXPECT_FALSE(HasError(findings));
}

} // namespace
} // namespace vanmoor::commission::test
