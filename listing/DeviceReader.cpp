#include "DeviceReader.h"

#include <string>

namespace vanmoor::listing {

namespace {

using AddressQuery = bool (*)(int index, char* out, int outSize);
using BytesQuery = bool (*)(int index, void* out, int len);

Ipv4Octets QueryAddress(AddressQuery query, int index) {
    char text[32] = {};
    query(index, text, sizeof text - 1);
    return settings::OctetsFromDottedText(text);
}

// A byte field up to its first zero; `width` is the field's width in the library.
std::string QueryBytes(BytesQuery query, int index, std::size_t width) {
    std::string bytes(width, '\0');
    query(index, bytes.data(), static_cast<int>(width));
    return bytes.substr(0, bytes.find('\0'));
}

} // namespace

std::optional<DeviceInfo> ReadDevice(const DeviceQueries& queries, int index) {
    DeviceInfo device;
    char mac[32] = {};
    char ip[32] = {};
    char protocol = 0;
    if (!queries.getMacString(index, mac, sizeof mac - 1) ||
        !queries.getIPString_DetVer(index, ip, sizeof ip - 1, &protocol)) {
        return std::nullopt;
    }
    device.mac = settings::MacFromDashedText(mac);
    device.ip = settings::OctetsFromDottedText(ip);
    device.protocol = protocol != 0 ? 32970 : 4022;
    device.netmask = QueryAddress(queries.getNetMaskString, index);
    device.gateway = QueryAddress(queries.getGateWayString, index);
    device.dns1 = QueryAddress(queries.getDNS1String, index);
    device.dns2 = QueryAddress(queries.getDNS2String, index);
    device.port = queries.getPort(index);
    device.dhcp = queries.getDHCP(index) == 1;
    device.type = queries.getType(index);
    device.name = QueryBytes(queries.getName, index, 23);
    device.deviceCode = QueryBytes(queries.getDevice, index, 10);
    device.version = QueryBytes(queries.getVersion, index, 17);
    device.brand = QueryBytes(queries.getBrand, index, 33);
    device.model = QueryBytes(queries.getModeName, index, 33);
    device.cameraName = QueryBytes(queries.getCameraName1, index, 65);
    return device;
}

} // namespace vanmoor::listing
