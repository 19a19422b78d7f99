#include "LibraryDevices.h"

#include "DeviceList.h"
#include "InterfaceList.h"
#include "SharedSettings.h"

#include <cstring>
#include <string>
#include <string_view>

namespace kestrun {

namespace {

constexpr int kTextBufferSize = 32;

std::string_view Terminated(const char* text, std::size_t size) {
    return std::string_view(text, strnlen(text, size));
}

Ipv4Octets AddressOf(bool (*query)(int, char*, int), int index) {
    char text[kTextBufferSize] = {};
    query(index, text, sizeof text);
    return OctetsFromDottedText(Terminated(text, sizeof text));
}

} // namespace

std::optional<SiteDevice> ReadSiteDevice(const LibraryApi& api, int index) {
    char mac[kTextBufferSize] = {};
    if (index < 0 || !api.getMacString(index, mac, sizeof mac)) {
        return std::nullopt;
    }
    SiteDevice device;
    device.mac = MacFromDashedText(Terminated(mac, sizeof mac));
    char ip[kTextBufferSize] = {};
    char protocol = 0;
    api.getIPString_DetVer(index, ip, sizeof ip, &protocol);
    device.ip = OctetsFromDottedText(Terminated(ip, sizeof ip));
    device.takesCredentials = protocol != 0;
    device.netmask = AddressOf(api.getNetMaskString, index);
    device.gateway = AddressOf(api.getGateWayString, index);
    device.dns1 = AddressOf(api.getDNS1String, index);
    device.dns2 = AddressOf(api.getDNS2String, index);
    device.port = api.getPort(index);
    device.dhcp = api.getDHCP(index) == 1;
    char name[DeviceList::kNameBytes] = {};
    api.getName(index, name, sizeof name);
    device.name.assign(Terminated(name, sizeof name));
    return device;
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
        char text[kTextBufferSize] = {};
        if (api.getMacString(index, text, sizeof text) &&
            MacFromDashedText(Terminated(text, sizeof text)) == mac) {
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
