#include "AddressPlan.h"
#include "SiteDevices.h"

#include <gtest/gtest.h>

namespace vanmoor::commission::test {
namespace {

PlanRequest Request(const std::string& first, const std::string& netmask = "255.255.255.0",
                    const std::string& gateway = "0.0.0.0") {
    PlanRequest request;
    request.first = Ip(first);
    request.netmask = Ip(netmask);
    request.gateway = Ip(gateway);
    return request;
}

std::vector<std::string> Addresses(const std::vector<PlannedDevice>& plan) {
    std::vector<std::string> texts;
    for (const PlannedDevice& planned : plan) {
        texts.push_back(settings::DottedText(planned.ip));
    }
    return texts;
}

TEST(AddressPlanTest, SkipsAddressesInUseTheHostsAndTheGatewayButReusesThoseThatMove) {
    const std::vector<SiteDevice> chosen = {Camera(1, "192.168.1.108"), Camera(2, "192.0.2.12")};
    const std::vector<SiteDevice> found = {chosen[0], chosen[1], Camera(3, "192.0.2.11")};
    const auto plan =
        PlanAddresses(chosen, found, {Host()}, Request("192.0.2.0", "255.255.255.0", "192.0.2.10"));
    // .0 network, .1 host, .10 gateway, .11 in use by a device that stays; .12 moves.
    EXPECT_EQ(Addresses(plan), (std::vector<std::string>{"192.0.2.2", "192.0.2.3"}));
    const auto later =
        PlanAddresses(chosen, found, {Host()}, Request("192.0.2.9", "255.255.255.0", "192.0.2.10"));
    EXPECT_EQ(Addresses(later), (std::vector<std::string>{"192.0.2.9", "192.0.2.12"}));
    EXPECT_EQ(plan[0].netmask, Ip("255.255.255.0"));
    EXPECT_EQ(plan[0].gateway, Ip("192.0.2.10"));
}

// Cameras found by WS-Discovery alone have no MAC: each holds its address, none is planned.
TEST(AddressPlanTest, WsdOnlyCamerasHoldTheirAddressesAndTakeNone) {
    std::vector<SiteDevice> wsd;
    for (const char* ip : {"192.0.2.100", "192.0.2.101"}) {
        SiteDevice camera = Camera(0, ip);
        camera.mac.reset();
        camera.protocol = site::kWsdProtocol;
        camera.wsd = site::WsdDetails{};
        camera.wsd->endpoint = std::string("urn:uuid:") + ip;
        wsd.push_back(camera);
    }
    const std::vector<SiteDevice> chosen = {wsd[0], Camera(1, "192.0.2.50"), wsd[1]};
    const std::vector<SiteDevice> found = {wsd[0], wsd[1], chosen[1]};
    const auto plan = PlanAddresses(chosen, found, {Host()}, Request("192.0.2.100"));
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].device.mac, chosen[1].mac);
    EXPECT_EQ(Addresses(plan), std::vector<std::string>{"192.0.2.102"});
}

TEST(AddressPlanTest, KeepsTheGivenOrderNumbersNamesAndKeepsOrReplacesDns) {
    SiteDevice first = Camera(9, "192.0.2.50", "Old");
    first.dns1 = Ip("192.0.2.53");
    PlanRequest request = Request("192.0.2.100");
    request.namePattern = "Cam-{n:02}";
    request.dns2 = Ip("192.0.2.54");
    const auto plan = PlanAddresses({first, Camera(3, "192.0.2.51")}, {}, {}, request);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ((*plan[0].device.mac)[5], 9);
    EXPECT_EQ(plan[0].name, "Cam-01");
    EXPECT_EQ(plan[1].name, "Cam-02");
    EXPECT_EQ(plan[0].dns1, Ip("192.0.2.53")) << "not given: kept";
    EXPECT_EQ(plan[0].dns2, Ip("192.0.2.54"));
    EXPECT_EQ(PlanAddresses({first}, {}, {}, Request("192.0.2.100"))[0].name, "Old");
    first.name = "Caf\xe9 over the bay"; // not UTF-8: kept byte for byte all the same
    EXPECT_EQ(PlanAddresses({first}, {}, {}, Request("192.0.2.100"))[0].name, first.name);
    first.name = "Warehouse dome north"; // 20 bytes: the port-4022 command carries 18
    EXPECT_THROW(PlanAddresses({first}, {}, {}, Request("192.0.2.100")), PlanError);
    first.protocol = 32970; // the port-32970 command carries 32
    EXPECT_EQ(PlanAddresses({first}, {}, {}, Request("192.0.2.100"))[0].name, first.name);
}

TEST(AddressPlanTest, RefusesAPlanThatDoesNotFitOrARequestTheRulesRefuse) {
    // 192.0.2.248/29 has hosts .249 to .254; the host holds .249.
    const std::vector<SiteDevice> six = {Camera(1, "192.0.2.10"), Camera(2, "192.0.2.10"),
                                         Camera(3, "192.0.2.10"), Camera(4, "192.0.2.10"),
                                         Camera(5, "192.0.2.10"), Camera(6, "192.0.2.10")};
    const HostAddress host{Ip("192.0.2.249"), Ip("255.255.255.248")};
    const std::vector<SiteDevice> five(six.begin(), six.end() - 1);
    EXPECT_EQ(PlanAddresses(five, six, {host}, Request("192.0.2.248", "255.255.255.248")).size(),
              5u);
    EXPECT_THROW(PlanAddresses(six, six, {host}, Request("192.0.2.248", "255.255.255.248")),
                 PlanError);
    EXPECT_THROW(PlanAddresses(five, {}, {}, Request("255.255.255.252", "255.255.255.252")),
                 PlanError);
    EXPECT_THROW(PlanAddresses(five, {}, {}, Request("192.0.2.10", "255.0.255.0")), PlanError);
    EXPECT_THROW(PlanAddresses(five, {}, {}, Request("192.0.2.10", "255.255.255.0", "192.0.3.1")),
                 PlanError);
    PlanRequest longNames = Request("192.0.2.10");
    longNames.namePattern = "A-very-long-camera-{n}";
    EXPECT_THROW(PlanAddresses(five, {}, {}, longNames), PlanError);
    longNames.namePattern = "no number";
    EXPECT_THROW(PlanAddresses(five, {}, {}, longNames), PlanError);
}

TEST(AddressPlanTest, NoDeviceMovesOntoAnAddressAnotherDeviceStillHolds) {
    // If B lost its command or refused it, A on B's address would make a conflict that was not
    // there before.
    const std::vector<SiteDevice> chosen = {Camera(1, "192.0.2.101"), Camera(2, "192.0.2.100")};
    const auto plan = PlanAddresses(chosen, chosen, {Host()}, Request("192.0.2.100"));
    EXPECT_EQ(Addresses(plan), (std::vector<std::string>{"192.0.2.101", "192.0.2.102"}));
    // Two devices on one address: neither keeps it, since the other may stay there.
    const std::vector<SiteDevice> twins = {Camera(1, "192.0.2.100"), Camera(2, "192.0.2.100")};
    EXPECT_EQ(Addresses(PlanAddresses(twins, twins, {Host()}, Request("192.0.2.100"))),
              (std::vector<std::string>{"192.0.2.101", "192.0.2.102"}));
}

TEST(AddressPlanTest, RefusesAddressesNoDeviceCanUseAndMovesOutOfReach) {
    const std::vector<SiteDevice> one = {Camera(1, "192.0.2.10")};
    for (const char* first :
         {"224.0.0.10", "239.1.2.3", "127.0.0.10", "0.0.0.10", "255.255.255.255", "240.0.0.10"}) {
        EXPECT_THROW(PlanAddresses(one, one, {}, Request(first, "255.255.255.0")), PlanError)
            << first;
    }
    EXPECT_THROW(PlanAddresses(one, one, {}, Request("192.0.2.10", "0.0.0.0")), PlanError);
    EXPECT_THROW(PlanAddresses(one, one, {}, Request("192.0.2.10", "255.255.255.0", "127.0.0.1")),
                 PlanError);

    // Found through 192.0.2.1/24, planned into another lan's subnet.
    const HostAddress lan2{Ip("198.51.100.1"), Ip("255.255.255.0")};
    PlanRequest elsewhere = Request("198.51.100.100");
    EXPECT_THROW(PlanAddresses(one, one, {Host(), lan2}, elsewhere), PlanError);
    elsewhere.allowOtherSubnet = true;
    const auto moved = PlanAddresses(one, one, {Host(), lan2}, elsewhere);
    EXPECT_TRUE(moved[0].outOfReach);
    EXPECT_FALSE(PlanAddresses(one, one, {Host(), lan2}, Request("192.0.2.100"))[0].outOfReach);
}

TEST(AddressPlanTest, AGatewayNotGivenIsEachDevicesOwnWhenItFitsTheNewSubnet) {
    PlanRequest request = Request("192.0.2.100");
    request.gateway.reset();
    const std::vector<SiteDevice> one = {Camera(1, "192.0.2.10")}; // gateway 192.0.2.1
    EXPECT_EQ(PlanAddresses(one, one, {}, request)[0].gateway, Ip("192.0.2.1"));
    request.first = Ip("10.1.0.100");
    request.netmask = Ip("255.255.0.0");
    EXPECT_THROW(PlanAddresses(one, one, {}, request), PlanError)
        << "its gateway would be outside 10.1.0.0/16";
    request.gateway = Ip("0.0.0.0");
    EXPECT_EQ(PlanAddresses(one, one, {}, request)[0].gateway, Ip("0.0.0.0")) << "none, as asked";
}

// Measured against the request's netmask: a /16's gateway may lie in another third number, a
// /25's may not lie in the other half; the same for a given gateway and a kept one.
TEST(AddressPlanTest, GivenAndKeptGatewaysFollowTheNetmaskNotTheThirdNumber) {
    const std::vector<SiteDevice> one = {Camera(1, "192.0.2.10")};
    EXPECT_EQ(
        PlanAddresses(one, one, {}, Request("10.1.2.100", "255.255.0.0", "10.1.0.1"))[0].gateway,
        Ip("10.1.0.1"));
    EXPECT_THROW(
        PlanAddresses(one, one, {}, Request("192.0.2.10", "255.255.255.128", "192.0.2.200")),
        PlanError);

    SiteDevice kept = Camera(1, "10.1.2.30");
    kept.netmask = Ip("255.255.0.0");
    kept.gateway = Ip("10.1.0.1");
    PlanRequest request = Request("10.1.2.100", "255.255.0.0");
    request.gateway.reset();
    EXPECT_EQ(PlanAddresses({kept}, {kept}, {}, request)[0].gateway, Ip("10.1.0.1"));
    kept.gateway = Ip("192.0.2.200");
    request.first = Ip("192.0.2.10");
    request.netmask = Ip("255.255.255.128");
    EXPECT_THROW(PlanAddresses({kept}, {kept}, {}, request), PlanError);
    // Nor is a gateway kept on the new subnet's broadcast address.
    kept.gateway = Ip("192.0.2.127");
    EXPECT_THROW(PlanAddresses({kept}, {kept}, {}, request), PlanError);
}

TEST(AddressPlanTest, AWideSubnetSkipsAddressesTheLibraryRefuses) {
    const auto plan = PlanAddresses({Camera(1, "10.0.0.5"), Camera(2, "10.0.0.5")}, {}, {},
                                    Request("10.0.0.254", "255.255.0.0"));
    EXPECT_EQ(Addresses(plan), (std::vector<std::string>{"10.0.0.254", "10.0.1.1"}));
}

} // namespace
} // namespace vanmoor::commission::test
