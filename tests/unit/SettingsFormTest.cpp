#include "SettingsForm.h"

#include <gtest/gtest.h>

namespace vanmoor::settings {
namespace {

FormProblem GatewayCheck(Ipv4Octets ip, Ipv4Octets netmask, Ipv4Octets gateway) {
    SettingsForm form;
    form.ip = ip;
    form.netmask = netmask;
    form.gateway = gateway;
    return CheckAddresses(form);
}

// The gateway must lie in the subnet that the netmask gives, whatever its length.
TEST(SettingsFormTest, TheGatewayRuleFollowsTheNetmaskNotTheThirdNumber) {
    EXPECT_EQ(GatewayCheck({10, 1, 2, 30}, {255, 255, 0, 0}, {10, 1, 0, 1}), FormProblem::None);
    EXPECT_EQ(GatewayCheck({192, 0, 2, 10}, {255, 255, 255, 128}, {192, 0, 2, 200}),
              FormProblem::GatewayOutsideSubnet);
    EXPECT_EQ(GatewayCheck({192, 0, 2, 10}, {255, 255, 255, 128}, {192, 0, 2, 100}),
              FormProblem::None);
    EXPECT_EQ(GatewayCheck({10, 1, 2, 30}, {255, 255, 0, 0}, {10, 2, 0, 1}),
              FormProblem::GatewayOutsideSubnet);
    EXPECT_EQ(GatewayCheck({10, 1, 2, 30}, {255, 255, 0, 0}, {0, 0, 0, 0}), FormProblem::None);
}

} // namespace
} // namespace vanmoor::settings
