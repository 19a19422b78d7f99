#include "SiteSurvey.h"

#include "InterfaceList.h"
#include "Subnet.h"

namespace vanmoor::cli {

commission::SiteDevice ToSiteDevice(const DeviceInfo& device) {
    return {device.mac,
            device.ip,
            device.netmask,
            device.gateway,
            device.dns1,
            device.dns2,
            device.port,
            device.dhcp,
            device.TakesCredentials(),
            device.name,
            settings::OctetsFromDottedText(device.localAddress)};
}

std::vector<commission::SiteDevice> ToSiteDevices(const std::vector<DeviceInfo>& devices) {
    std::vector<commission::SiteDevice> site;
    site.reserve(devices.size());
    for (const DeviceInfo& device : devices) {
        site.push_back(ToSiteDevice(device));
    }
    return site;
}

std::vector<commission::HostAddress> HostAddresses(const Session& session) {
    const std::vector<InterfaceAddress> interfaces = ListInterfaceAddresses();
    std::vector<commission::HostAddress> host;
    for (const std::string& address : session.LocalAddresses()) {
        // Without a listed interface, a /32 claims nothing of its neighbours.
        int prefixLength = 32;
        for (const InterfaceAddress& entry : interfaces) {
            if (entry.address == address) {
                prefixLength = entry.prefixLength;
                break;
            }
        }
        host.push_back(
            {settings::OctetsFromDottedText(address), commission::MaskOfPrefix(prefixLength)});
    }
    return host;
}

} // namespace vanmoor::cli
