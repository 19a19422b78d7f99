// Hosts with more than one address on an interface: a labelled address, a second address, an
// address that the loopback interface carries too.
#include "NetworkChanges.h"
#include "SimulatedDevices.h"

#include <algorithm>
#include <set>

namespace vanmoor::test {
namespace {

using devsim::ReplyMode;

class MultiAddress : public DeviceTest {
protected:
    // Names of the devices the queries show while the filter keeps `localIP`.
    std::set<std::string> NamesFoundThrough(const std::string& localIP) {
        EXPECT_TRUE(setIPSearch(1, localIP.c_str())) << localIP;
        std::set<std::string> names;
        for (const Listed& listed : ListDevices()) {
            names.insert(listed.name);
        }
        return names;
    }

    // Requests that simulator `simulator` received from `source`.
    static std::size_t RequestsFrom(const Simulator& simulator, devsim::Ipv4 source) {
        const auto datagrams = simulator.Datagrams();
        return static_cast<std::size_t>(
            std::count_if(datagrams.begin(), datagrams.end(), [&](const auto& datagram) {
                return datagram.kind == devsim::DatagramKind::SearchRequest &&
                       datagram.sourceAddress == source;
            }));
    }
};

TEST_F(MultiAddress, LabelledAddressIsSearchedThroughItsDevice) {
    const ExtraAddress alias("203.0.113.7/24", "lan2", "lan2:7");
    ASSERT_TRUE(setIPSearch(0, ""));
    ASSERT_EQ(getIPcount(), 3);
    EXPECT_STREQ(getIPinfo(2), "203.0.113.7");
    const Simulator& lan2 =
        StartDevices(2, {MakeDevice(Protocol::Port4022, 1, {203, 0, 113, 20}, "plain"),
                         MakeDevice(Protocol::Port32970, 2, {203, 0, 113, 21}, "secure")});
    ClearLog();

    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(Log().find("bind failed"), std::string::npos) << Log();
    EXPECT_EQ(RequestsFrom(lan2, {203, 0, 113, 7}), 2u) << "both requests leave through lan2";
    EXPECT_EQ(NamesFoundThrough("203.0.113.7"), (std::set<std::string>{"plain", "secure"}));
    EXPECT_TRUE(NamesFoundThrough(net.pcAddresses[1]).empty());
}

TEST_F(MultiAddress, EachAddressOfAnInterfaceFindsTheDevicesOfItsSubnet) {
    const ExtraAddress second("203.0.113.1/24", "lan1");
    ASSERT_TRUE(setIPSearch(0, ""));
    ASSERT_EQ(getIPcount(), 3);
    SimDevice first = MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "first subnet");
    first.replyMode = ReplyMode::SubnetBroadcast;
    // Each device answers the requests of both addresses; every answer reaches both endpoints.
    StartDevices(1, {first, MakeDevice(Protocol::Port32970, 2, {203, 0, 113, 10}, "second"),
                     MakeDevice(Protocol::Port4022, 3, {198, 51, 100, 99}, "elsewhere")});

    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(getCounts(), 3);
    EXPECT_EQ(NamesFoundThrough(net.pcAddresses[0]),
              (std::set<std::string>{"first subnet", "elsewhere"}));
    EXPECT_EQ(NamesFoundThrough("203.0.113.1"), std::set<std::string>{"second"});
}

TEST_F(MultiAddress, AddressAlsoOnLoopbackIsSearchedThroughItsInterface) {
    const ExtraAddress onLoopback(net.pcAddresses[0] + "/32", "lo");
    ASSERT_TRUE(setIPSearch(0, ""));
    ASSERT_EQ(getIPcount(), 2);
    const Simulator& lan1 =
        StartDevices(1, {MakeDevice(Protocol::Port4022, 1, {192, 0, 2, 10}, "on lan1")});

    ASSERT_TRUE(search(kSearchMilliseconds));
    EXPECT_EQ(RequestsFrom(lan1, {192, 0, 2, 1}), 2u);
    EXPECT_EQ(NamesFoundThrough(net.pcAddresses[0]), std::set<std::string>{"on lan1"});
}

} // namespace
} // namespace vanmoor::test
