#include "DeviceServiceRecord.h"

namespace vanmoor::site {

namespace {

template <typename T> void Take(T& field, const std::optional<T>& read) {
    if (read) {
        field = *read;
    }
}

} // namespace

void TakeDeviceServiceRead(SiteDevice& device, const onvif::CameraSettings& read) {
    if (!device.mac) {
        device.mac = read.mac;
    }
    Take(device.netmask, read.Netmask());
    Take(device.gateway, read.gateway);
    // A camera with fewer DNS servers has none in the second place: zeros, not the record's.
    if (read.dns) {
        device.dns1 = read.Dns1().value_or(Ipv4Octets{});
        device.dns2 = read.Dns2().value_or(Ipv4Octets{});
    }
    Take(device.dhcp, read.dhcp);
    if (const auto port = read.HttpPort()) {
        device.port = *port;
    }
    Take(device.brand, read.manufacturer);
    Take(device.model, read.model);
    Take(device.version, read.firmware);
    DeviceServiceDetails details;
    details.hostname = read.hostname.value_or(std::string());
    details.serial = read.serial.value_or(std::string());
    details.hardwareId = read.hardwareId.value_or(std::string());
    device.deviceService = std::move(details);
}

} // namespace vanmoor::site
