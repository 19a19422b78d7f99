#include "SiteDevices.h"

#include <stdexcept>

namespace vanmoor::commission::test {

Ipv4Octets Ip(const std::string& text) {
    const auto octets = settings::ParseDottedAddress(text);
    if (!octets) {
        throw std::invalid_argument("bad test address " + text);
    }
    return *octets;
}

SiteDevice Camera(int last, const std::string& ip, const std::string& name) {
    SiteDevice device;
    device.mac = MacBytes{0x02, 0x00, 0x5e, 0x00, 0x01, static_cast<std::uint8_t>(last)};
    device.ip = Ip(ip);
    device.netmask = Ip("255.255.255.0");
    device.gateway = Ip("192.0.2.1");
    device.port = 80;
    device.name = name;
    device.localAddress = "192.0.2.1";
    return device;
}

HostAddress Host() {
    return {Ip("192.0.2.1"), Ip("255.255.255.0")};
}

} // namespace vanmoor::commission::test
