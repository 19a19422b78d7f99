#include "DeviceMerge.h"
#include "SiteCheck.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vanmoor::listing {
namespace {

using commission::FindingKind;

Ipv4Octets Ip(const std::string& text) {
    return *settings::ParseDottedAddress(text);
}

DeviceInfo Library(int last, const std::string& ip, const std::string& local = "192.0.2.1") {
    DeviceInfo device;
    device.mac = MacBytes{0x02, 0x00, 0x5e, 0x00, 0x01, static_cast<std::uint8_t>(last)};
    device.ip = Ip(ip);
    device.netmask = Ip("255.255.255.0");
    device.gateway = Ip("192.0.2.1");
    device.localAddress = local;
    return device;
}

DeviceInfo Wsd(const std::string& endpoint, const std::string& ip,
               const std::string& local = "192.0.2.1") {
    DeviceInfo device;
    device.protocol = kWsdProtocol;
    device.ip = Ip(ip);
    device.name = "Cam " + endpoint;
    device.localAddress = local;
    device.wsd = WsdDetails{};
    device.wsd->endpoint = endpoint;
    return device;
}

std::size_t Count(const std::vector<commission::Finding>& findings, FindingKind kind) {
    return static_cast<std::size_t>(
        std::count_if(findings.begin(), findings.end(),
                      [&](const commission::Finding& finding) { return finding.kind == kind; }));
}

std::vector<commission::Finding> Check(const std::vector<DeviceInfo>& devices) {
    return commission::CheckSite(devices, {{Ip("192.0.2.1"), Ip("255.255.255.0")}});
}

TEST(DeviceMergeTest, ATwinOnTheSameAddressAndLanIsOneDeviceWithBothIdentities) {
    const auto devices =
        MergeDevices({Library(1, "192.0.2.10"), Library(2, "192.0.2.11")},
                     {Wsd("urn:uuid:a", "192.0.2.10"), Wsd("urn:uuid:b", "192.0.2.12")});
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].mac, Library(1, "192.0.2.10").mac);
    ASSERT_TRUE(devices[0].wsd);
    EXPECT_EQ(devices[0].wsd->endpoint, "urn:uuid:a");
    EXPECT_EQ(devices[0].name, "Cam urn:uuid:a"); // the library's name was empty
    EXPECT_EQ(ProtocolsText(devices[0]), "4022,3702");
    EXPECT_FALSE(devices[1].wsd);
    EXPECT_FALSE(devices[2].mac);
    EXPECT_EQ(ProtocolsText(devices[2]), "3702");
    EXPECT_EQ(DeviceIdentity(devices[2]), "urn:uuid:b");
    // A pair counts once; a WS-Discovery device's unknown netmask is no bad setting.
    EXPECT_TRUE(Check(devices).empty());
}

TEST(DeviceMergeTest, ACameraThatCannotBeToldApartStaysADeviceOfItsOwn) {
    // Another lan; two library devices on the address; a second camera on a merged address;
    // no IPv4 address at all.
    const auto devices =
        MergeDevices({Library(1, "192.0.2.10"), Library(2, "192.0.2.20"), Library(3, "192.0.2.20")},
                     {Wsd("urn:uuid:lan2", "192.0.2.10", "198.51.100.1"),
                      Wsd("urn:uuid:a", "192.0.2.10"), Wsd("urn:uuid:again", "192.0.2.10"),
                      Wsd("urn:uuid:two", "192.0.2.20"), Wsd("urn:uuid:none", "0.0.0.0")});
    ASSERT_EQ(devices.size(), 7u);
    EXPECT_EQ(devices[0].wsd->endpoint, "urn:uuid:a");
    EXPECT_FALSE(devices[1].wsd);
    EXPECT_FALSE(devices[2].wsd);
    std::vector<std::string> alone;
    for (std::size_t i = 3; i < devices.size(); ++i) {
        alone.push_back(DeviceIdentity(devices[i]));
    }
    EXPECT_EQ(alone, (std::vector<std::string>{"urn:uuid:lan2", "urn:uuid:again", "urn:uuid:two",
                                               "urn:uuid:none"}));

    // Real duplicates: three answers on .10 and on .20; each finding names its own device.
    const auto findings = Check(devices);
    EXPECT_EQ(Count(findings, FindingKind::DuplicateAddress), 6u);
    for (const auto& finding : findings) {
        if (finding.kind == FindingKind::DuplicateAddress) {
            EXPECT_NE(finding.device, 6u); // 0.0.0.0 is unusable, not shared
        }
    }
}

TEST(DeviceMergeTest, AWsdCameraOutsideTheLanItAnsweredOnIsUnreachable) {
    const auto findings = Check({Wsd("urn:uuid:far", "10.9.8.7")});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].kind, FindingKind::Unreachable);
    EXPECT_EQ(findings[0].device, 0u);
}

// What a camera found by WS-Discovery alone did not tell is null in every listing, not zeros.
TEST(DeviceMergeTest, AWsdCameraNamingAHostNameHasAnUnknownAddressSharedWithNone) {
    std::vector<DeviceInfo> devices = {Wsd("urn:uuid:a", "0.0.0.0"), Wsd("urn:uuid:b", "0.0.0.0")};
    devices[0].wsd->xaddrs = {"http://cam-a.example/onvif/device_service"};
    devices[1].wsd->xaddrs = {"http://cam-b.example/onvif/device_service"};
    EXPECT_EQ(Count(Check(devices), FindingKind::DuplicateAddress), 0u);
    const Record record = DeviceRecord(devices[0]);
    for (const char* unknown : {"ip", "netmask", "gateway", "dns1", "dns2", "dhcp"}) {
        EXPECT_EQ(SelectFields(record, {unknown})[0].value, Value()) << unknown;
    }
}

// Once its device service is read, a camera found by WS-Discovery alone lists its settings and
// the site check judges them as it does a device protocol's.
TEST(DeviceMergeTest, AWsdCameraWhoseDeviceServiceWasReadListsAndChecksItsSettings) {
    DeviceInfo read = Wsd("urn:uuid:read", "192.0.2.30");
    read.netmask = Ip("255.255.255.0");
    read.gateway = Ip("192.0.3.1");
    read.deviceService = site::DeviceServiceDetails{"cam-30", "SN 30", "HW-1"};
    DeviceInfo unread = Wsd("urn:uuid:unread", "192.0.2.31");
    unread.gateway = Ip("192.0.3.1");
    const auto findings = Check({read, unread});
    ASSERT_EQ(Count(findings, FindingKind::BadSettings), 1u);
    EXPECT_EQ(findings[0].device, 0u);

    const Record record = DeviceRecord(read);
    EXPECT_EQ(SelectFields(record, {"gateway"})[0].value, Value("192.0.3.1"));
    EXPECT_EQ(SelectFields(record, {"dhcp"})[0].value, Value(false));
    EXPECT_EQ(SelectFields(record, {"serial"})[0].value, Value("SN 30"));
    EXPECT_EQ(SelectFields(DeviceRecord(unread), {"hostname"})[0].value, Value());
    const auto keys = ListDeviceKeys(true, true);
    EXPECT_NE(std::find(keys.begin(), keys.end(), "hardware_id"), keys.end());
    EXPECT_EQ(ListDeviceKeys(true), ListDeviceKeys(true, false));
}

} // namespace
} // namespace vanmoor::listing
