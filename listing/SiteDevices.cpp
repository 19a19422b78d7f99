#include "SiteDevices.h"

namespace vanmoor::listing {

commission::SiteDevice ToSiteDevice(const DeviceInfo& device) {
    return {device.mac.value_or(MacBytes{}),
            device.ip,
            device.netmask,
            device.gateway,
            device.dns1,
            device.dns2,
            device.port,
            device.dhcp,
            device.TakesCredentials(),
            device.name,
            settings::OctetsFromDottedText(device.localAddress.value_or("")),
            device.SpeaksDeviceProtocol()};
}

std::vector<commission::SiteDevice> ToSiteDevices(const std::vector<DeviceInfo>& devices) {
    std::vector<commission::SiteDevice> site;
    site.reserve(devices.size());
    for (const DeviceInfo& device : devices) {
        site.push_back(ToSiteDevice(device));
    }
    return site;
}

} // namespace vanmoor::listing
