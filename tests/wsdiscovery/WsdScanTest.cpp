#include "DatagramFlood.h"
#include "Protocol.h"
#include "WsdNetwork.h"
#include "WsdScanner.h"

#include <algorithm>
#include <future>

namespace vanmoor::wsd::test {
namespace {

// Long enough for the 200 ms answers to both the first probes and their repeat.
constexpr std::chrono::milliseconds kWait{1200};

const DeviceTable::Entry* Found(const ScanReport& report, std::string_view endpoint) {
    const auto found =
        std::find_if(report.devices.begin(), report.devices.end(),
                     [&](const auto& entry) { return entry.target.address == endpoint; });
    return found == report.devices.end() ? nullptr : &*found;
}

class WsdScanTest : public WsdNetworkTest {
protected:
    ScanReport Scan(ScanOptions options = {}) {
        options.wait = kWait;
        return WsdScanner(reader).Scan(options);
    }
};

TEST_F(WsdScanTest, FindsCamerasOnBothLansCreditedToTheAddressTheyAnsweredOn) {
    StartDevices(1, {"protocol=3702 mac=02:00:00:00:01:01 ip=192.0.2.10 name=\"Cam 1\"",
                     // Outside every subnet of the pc: kept, and credited to lan 1.
                     "protocol=3702 mac=02:00:00:00:01:02 ip=10.9.8.7"});
    StartDevices(2, {"protocol=4022,3702 mac=02:00:00:00:02:01 ip=198.51.100.10 "
                     "types=tdn:NetworkVideoTransmitter"});

    const ScanReport report = Scan();
    EXPECT_EQ(report.probedFrom, net.pcAddresses);
    EXPECT_TRUE(report.failures.empty());
    ASSERT_EQ(report.devices.size(), 3u);
    const auto* lan1 = Found(report, "urn:uuid:5ca1ab1e-0000-4000-8000-020000000101");
    const auto* foreign = Found(report, "urn:uuid:5ca1ab1e-0000-4000-8000-020000000102");
    const auto* lan2 = Found(report, "urn:uuid:5ca1ab1e-0000-4000-8000-020000000201");
    ASSERT_TRUE(lan1 && foreign && lan2);
    EXPECT_EQ(lan1->receivedOn, net.pcAddresses[0]);
    EXPECT_EQ(lan1->target.name, "Cam 1");
    EXPECT_EQ(foreign->receivedOn, net.pcAddresses[0]);
    EXPECT_EQ(foreign->target.ipv4, (settings::Ipv4Octets{10, 9, 8, 7}));
    EXPECT_EQ(lan2->receivedOn, net.pcAddresses[1]);
    // Both types answered by the first two, one by the third; nothing else came back.
    EXPECT_EQ(report.counters.applied, 5u);
    EXPECT_EQ(report.counters.datagrams, 5u);
}

TEST_F(WsdScanTest, TheRepeatFindsACameraThatMissedTheFirstProbes) {
    devsim::Simulator& missing =
        StartDevices(1, {"protocol=3702 mac=02:00:00:00:01:01 ip=192.0.2.10 wsd_ignore=2"});
    ScanOptions once;
    once.repeats = 0;
    once.localAddresses = {net.pcAddresses[0]};
    EXPECT_TRUE(Scan(once).devices.empty());
    EXPECT_EQ(missing.WsdProbesHeard(), 2u);
    simulators.clear();

    StartDevices(1, {"protocol=3702 mac=02:00:00:00:01:01 ip=192.0.2.10 wsd_ignore=2"});
    const ScanReport report = Scan();
    ASSERT_EQ(report.devices.size(), 1u);
    EXPECT_EQ(report.devices[0].receivedOn, net.pcAddresses[0]);
}

TEST_F(WsdScanTest, ATargetIsProbedByUnicastWhereMulticastIsNotAnswered) {
    StartDevices(1, {"protocol=3702 mac=02:00:00:00:01:01 ip=192.0.2.10 wsd_probes=unicast"});
    EXPECT_TRUE(Scan().devices.empty());

    ScanOptions targeted;
    targeted.target = net.lanAddresses[0];
    const ScanReport report = Scan(targeted);
    EXPECT_EQ(report.probedFrom, std::vector<std::string>{net.pcAddresses[0]});
    ASSERT_EQ(report.devices.size(), 1u);
    EXPECT_EQ(report.devices[0].receivedOn, net.pcAddresses[0]);

    targeted.target = "192.0.2.300";
    EXPECT_EQ(Scan(targeted).failures.size(), 1u);
}

TEST_F(WsdScanTest, HostileAndForeignAnswersAreNotTaken) {
    StartDevices(1, {"protocol=3702 mac=02:00:00:00:01:01 ip=192.0.2.10 wsd_hostile=malformed",
                     "protocol=3702 mac=02:00:00:00:01:02 ip=192.0.2.11 wsd_hostile=oversized",
                     "protocol=3702 mac=02:00:00:00:01:03 ip=192.0.2.12 wsd_hostile=doctype",
                     "protocol=3702 mac=02:00:00:00:01:04 ip=192.0.2.13 "
                     "wsd_hostile=foreign-relates",
                     "protocol=3702 mac=02:00:00:00:01:05 ip=192.0.2.14 wsd_hostile=twice",
                     "protocol=3702 mac=02:00:00:00:01:06 ip=192.0.2.15"});
    ScanOptions options;
    options.localAddresses = {net.pcAddresses[0]};
    const ScanReport report = Scan(options);
    ASSERT_EQ(report.devices.size(), 2u);
    EXPECT_TRUE(Found(report, "urn:uuid:5ca1ab1e-0000-4000-8000-020000000105"));
    EXPECT_TRUE(Found(report, "urn:uuid:5ca1ab1e-0000-4000-8000-020000000106"));
    // Each device answers both probe types.
    EXPECT_EQ(report.counters.unreadable, 4u); // malformed and doctype
    EXPECT_EQ(report.counters.tooLong, 2u);
    EXPECT_EQ(report.counters.foreign, 2u);
    EXPECT_EQ(report.counters.repeated, 2u);
    EXPECT_EQ(report.counters.applied, 4u);
}

TEST_F(WsdScanTest, AFloodToTheProbesPortDoesNotHoldTheScanPastItsDeadline) {
    std::unique_ptr<vanmoor::test::UdpPeer> flooder;
    vanmoor::test::RunInLan(
        1, [&] { flooder = std::make_unique<vanmoor::test::UdpPeer>(net.lanAddresses[0], kPort); });
    ScanOptions options;
    options.target = net.lanAddresses[0]; // the unicast probe tells the flooder its port
    options.wait = std::chrono::milliseconds(1000);
    const auto start = std::chrono::steady_clock::now();
    auto scan = std::async(std::launch::async, [&] { return WsdScanner(reader).Scan(options); });
    const auto probe = flooder->Receive(std::chrono::seconds(2));
    ASSERT_TRUE(probe);
    {
        const DatagramFlood flood(std::move(flooder), probe->sourceAddress, probe->sourcePort,
                                  std::chrono::seconds(8));
        scan.wait();
    }
    // Without a bound on the draining the scan lasts as long as the flood.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_GT(scan.get().counters.unreadable, 0u);
}

} // namespace
} // namespace vanmoor::wsd::test
