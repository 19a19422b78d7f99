#include "DeviceInfo.h"

#include "vanmoor.h"

#include <cstring>

namespace vanmoor::cli {

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

std::string Text(const Ipv4Octets& address) {
    return settings::DottedText(address);
}

} // namespace

std::optional<DeviceInfo> ReadDevice(int index) {
    DeviceInfo device;
    char mac[32] = {};
    char ip[32] = {};
    char protocol = 0;
    if (!getMacString(index, mac, sizeof mac - 1) ||
        !getIPString_DetVer(index, ip, sizeof ip - 1, &protocol)) {
        return std::nullopt;
    }
    device.mac = settings::MacFromDashedText(mac);
    device.ip = settings::OctetsFromDottedText(ip);
    device.protocol = protocol != 0 ? 32970 : 4022;
    device.netmask = QueryAddress(&getNetMaskString, index);
    device.gateway = QueryAddress(&getGateWayString, index);
    device.dns1 = QueryAddress(&getDNS1String, index);
    device.dns2 = QueryAddress(&getDNS2String, index);
    device.port = getPort(index);
    device.dhcp = getDHCP(index) == 1;
    device.type = getType(index);
    device.name = QueryBytes(&getName, index, 23);
    device.deviceCode = QueryBytes(&getDevice, index, 10);
    device.version = QueryBytes(&getVersion, index, 17);
    device.brand = QueryBytes(&getBrand, index, 33);
    device.model = QueryBytes(&getModeName, index, 33);
    device.cameraName = QueryBytes(&getCameraName1, index, 65);
    return device;
}

Record DeviceRecord(const DeviceInfo& device) {
    return {
        {"mac", settings::MacColonText(device.mac)},
        {"ip", Text(device.ip)},
        {"netmask", Text(device.netmask)},
        {"gateway", Text(device.gateway)},
        {"port", static_cast<long long>(device.port)},
        {"dhcp", device.dhcp},
        {"name", device.name},
        {"protocol", static_cast<long long>(device.protocol)},
        {"version", device.version},
        {"model", device.model},
        {"local_address", device.localAddress},
        {"dns1", Text(device.dns1)},
        {"dns2", Text(device.dns2)},
        {"type", static_cast<long long>(device.type)},
        {"device_code", device.deviceCode},
        {"brand", device.brand},
        {"camera_name", device.cameraName},
    };
}

const std::vector<std::string>& AllDeviceKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all;
        for (const Field& field : DeviceRecord(DeviceInfo{})) {
            all.push_back(field.key);
        }
        return all;
    }();
    return keys;
}

const std::vector<std::string>& MainDeviceKeys() {
    static const std::vector<std::string> keys(AllDeviceKeys().begin(),
                                               AllDeviceKeys().begin() + 11);
    return keys;
}

const std::vector<std::string>& TableDeviceKeys() {
    static const std::vector<std::string> keys = {"mac", "ip", "port", "dhcp", "protocol", "name"};
    return keys;
}

} // namespace vanmoor::cli
