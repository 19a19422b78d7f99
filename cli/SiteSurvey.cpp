#include "SiteSurvey.h"

#include "InterfaceList.h"

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
            settings::OctetsFromDottedText(device.localAddress.value_or(""))};
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
    return commission::HostAddressesOf(session.LocalAddresses());
}

} // namespace vanmoor::cli
