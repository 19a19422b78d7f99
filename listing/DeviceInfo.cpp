#include "DeviceInfo.h"

namespace vanmoor::listing {

namespace {

std::string Text(const Ipv4Octets& address) {
    return settings::DottedText(address);
}

} // namespace

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
        {"local_address", device.localAddress ? Value(*device.localAddress) : Value()},
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

} // namespace vanmoor::listing
