#include "DeviceMerge.h"

#include <algorithm>

namespace vanmoor::listing {

namespace {

// The one device-protocol device a WS-Discovery device may be: none when no device or more than
// one has its address, or when it came another way.
DeviceInfo* Twin(std::vector<DeviceInfo>& deviceProtocol, const DeviceInfo& wsd) {
    if (wsd.ip == Ipv4Octets{} || !wsd.localAddress) {
        return nullptr;
    }
    const auto sameAddress = [&](const DeviceInfo& device) { return device.ip == wsd.ip; };
    if (std::count_if(deviceProtocol.begin(), deviceProtocol.end(), sameAddress) != 1) {
        return nullptr;
    }
    DeviceInfo& twin = *std::find_if(deviceProtocol.begin(), deviceProtocol.end(), sameAddress);
    // A second WS-Discovery device on that address is a device of its own.
    if (twin.wsd || twin.localAddress != wsd.localAddress) {
        return nullptr;
    }
    return &twin;
}

} // namespace

std::vector<DeviceInfo> MergeDevices(std::vector<DeviceInfo> deviceProtocol,
                                     const std::vector<DeviceInfo>& wsd) {
    std::vector<DeviceInfo> alone;
    for (const DeviceInfo& device : wsd) {
        if (DeviceInfo* twin = Twin(deviceProtocol, device)) {
            twin->wsd = device.wsd;
            if (twin->name.empty()) {
                twin->name = device.name;
            }
        } else {
            alone.push_back(device);
        }
    }
    deviceProtocol.insert(deviceProtocol.end(), alone.begin(), alone.end());
    return deviceProtocol;
}

} // namespace vanmoor::listing
