#include "DeviceInfo.h"

#include <utility>

namespace vanmoor::listing {

namespace {

constexpr std::size_t kMainKeys = 11;

std::string Text(const Ipv4Octets& address) {
    return settings::DottedText(address);
}

// A list as WS-Discovery writes one: items separated by blanks.
std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : " ") + item;
    }
    return text;
}

// A WS-Discovery field, null for a device that did not answer WS-Discovery.
template <typename Read> Value WsdValue(const DeviceInfo& device, Read read) {
    return device.wsd ? Value(read(*device.wsd)) : Value();
}

// A setting only the device protocols or a read of the device service tell: null for a camera
// found by WS-Discovery alone and not read, whose record holds zeros there, so that no listing
// shows them as the camera's settings.
Value SettingValue(const DeviceInfo& device, Value value) {
    return device.SettingsKnown() ? std::move(value) : Value();
}

// A field of the device service, null for a device whose device service was not read.
template <typename Read> Value ServiceValue(const DeviceInfo& device, Read read) {
    return device.deviceService ? Value(read(*device.deviceService)) : Value();
}

} // namespace

std::string ProtocolsText(const DeviceInfo& device) {
    if (!device.SpeaksDeviceProtocol()) {
        return std::to_string(kWsdProtocol);
    }
    return std::to_string(device.protocol) +
           (device.wsd ? "," + std::to_string(kWsdProtocol) : std::string());
}

std::string DeviceIdentity(const DeviceInfo& device) {
    if (device.mac) {
        return settings::MacColonText(*device.mac);
    }
    return device.wsd ? device.wsd->endpoint : std::string();
}

Record DeviceRecord(const DeviceInfo& device) {
    return {
        {"mac", device.mac ? Value(settings::MacColonText(*device.mac)) : Value()},
        {"ip", device.AddressKnown() ? Value(Text(device.ip)) : Value()},
        {"netmask", SettingValue(device, Text(device.netmask))},
        {"gateway", SettingValue(device, Text(device.gateway))},
        {"port", static_cast<long long>(device.port)},
        {"dhcp", SettingValue(device, device.dhcp)},
        {"name", device.name},
        {"protocol", static_cast<long long>(device.protocol)},
        {"version", device.version},
        {"model", device.model},
        {"local_address", device.localAddress ? Value(*device.localAddress) : Value()},
        {"dns1", SettingValue(device, Text(device.dns1))},
        {"dns2", SettingValue(device, Text(device.dns2))},
        {"type", static_cast<long long>(device.type)},
        {"device_code", device.deviceCode},
        {"brand", device.brand},
        {"camera_name", device.cameraName},
        {"protocols", ProtocolsText(device)},
        {"endpoint", WsdValue(device, [](const WsdDetails& wsd) { return wsd.endpoint; })},
        {"xaddrs", WsdValue(device, [](const WsdDetails& wsd) { return Joined(wsd.xaddrs); })},
        {"types", WsdValue(device, [](const WsdDetails& wsd) { return Joined(wsd.types); })},
        {"scopes", WsdValue(device, [](const WsdDetails& wsd) { return Joined(wsd.scopes); })},
        {"hardware", WsdValue(device, [](const WsdDetails& wsd) { return wsd.hardware; })},
        {"location", WsdValue(device, [](const WsdDetails& wsd) { return wsd.location; })},
        {"metadata_version", device.wsd && device.wsd->metadataVersion
                                 ? Value(static_cast<long long>(*device.wsd->metadataVersion))
                                 : Value()},
        {"hostname", ServiceValue(device, [](const auto& service) { return service.hostname; })},
        {"serial", ServiceValue(device, [](const auto& service) { return service.serial; })},
        {"hardware_id",
         ServiceValue(device, [](const auto& service) { return service.hardwareId; })},
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
                                               AllDeviceKeys().begin() + kMainKeys);
    return keys;
}

const std::vector<std::string>& WsdDeviceKeys() {
    static const std::vector<std::string> keys = {"protocols", "endpoint", "xaddrs",  "types",
                                                  "scopes",    "hardware", "location"};
    return keys;
}

const std::vector<std::string>& DeviceServiceKeys() {
    static const std::vector<std::string> keys = {"dns1", "dns2", "hostname", "serial",
                                                  "hardware_id"};
    return keys;
}

std::vector<std::string> ListDeviceKeys(bool wsdSearched, bool deviceServiceRead) {
    std::vector<std::string> keys = MainDeviceKeys();
    if (wsdSearched) {
        keys.insert(keys.end(), WsdDeviceKeys().begin(), WsdDeviceKeys().end());
    }
    if (deviceServiceRead) {
        keys.insert(keys.end(), DeviceServiceKeys().begin(), DeviceServiceKeys().end());
    }
    return keys;
}

const std::vector<std::string>& TableDeviceKeys() {
    static const std::vector<std::string> keys = {"mac", "ip", "port", "dhcp", "protocol", "name"};
    return keys;
}

} // namespace vanmoor::listing
