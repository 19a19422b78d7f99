#include "LibraryDevices.h"

#include "InterfaceList.h"
#include "SharedSettings.h"

#include <cstring>
#include <string>
#include <string_view>

namespace kestrun {

vanmoor::listing::DeviceQueries DeviceQueriesOf(const LibraryApi& api) {
    return {
        .getMacString = api.getMacString,
        .getIPString_DetVer = api.getIPString_DetVer,
        .getNetMaskString = api.getNetMaskString,
        .getGateWayString = api.getGateWayString,
        .getDNS1String = api.getDNS1String,
        .getDNS2String = api.getDNS2String,
        .getPort = api.getPort,
        .getDHCP = api.getDHCP,
        .getType = api.getType,
        .getName = api.getName,
        .getDevice = api.getDevice,
        .getVersion = api.getVersion,
        .getBrand = api.getBrand,
        .getModeName = api.getModeName,
        .getCameraName1 = api.getCameraName1,
    };
}

std::optional<SiteDevice> ReadSiteDevice(const LibraryApi& api, int index) {
    return vanmoor::listing::ReadDevice(DeviceQueriesOf(api), index);
}

std::vector<SiteDevice> ReadSiteDevices(const LibraryApi& api) {
    std::vector<SiteDevice> devices;
    const int count = api.getCounts();
    for (int index = 0; index < count; ++index) {
        if (std::optional<SiteDevice> device = ReadSiteDevice(api, index)) {
            devices.push_back(std::move(*device));
        }
    }
    return devices;
}

std::optional<int> FindDeviceIndex(const LibraryApi& api, const vanmoor::settings::MacBytes& mac) {
    const int count = api.getCounts();
    for (int index = 0; index < count; ++index) {
        char text[32] = {};
        if (api.getMacString(index, text, sizeof text) &&
            MacFromDashedText(std::string_view(text, strnlen(text, sizeof text))) == mac) {
            return index;
        }
    }
    return std::nullopt;
}

std::vector<HostAddress> ReadHostAddresses(const LibraryApi& api) {
    std::vector<std::string> localAddresses;
    for (int i = 0; i < api.getIPcount(); ++i) {
        if (const char* address = api.getIPinfo(i)) {
            localAddresses.emplace_back(address);
        }
    }
    return vanmoor::commission::HostAddressesOf(localAddresses);
}

} // namespace kestrun
