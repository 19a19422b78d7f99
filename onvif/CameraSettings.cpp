#include "CameraSettings.h"

namespace vanmoor::onvif {

namespace {

std::uint32_t AddressValue(const Ipv4Octets& octets) {
    return static_cast<std::uint32_t>(octets[0]) << 24 |
           static_cast<std::uint32_t>(octets[1]) << 16 |
           static_cast<std::uint32_t>(octets[2]) << 8 | octets[3];
}

} // namespace

Ipv4Octets NetmaskOfPrefix(int prefixLength) {
    const int bits = prefixLength < 0 ? 0 : (prefixLength > 32 ? 32 : prefixLength);
    const std::uint32_t mask = bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
    return {static_cast<std::uint8_t>(mask >> 24), static_cast<std::uint8_t>(mask >> 16),
            static_cast<std::uint8_t>(mask >> 8), static_cast<std::uint8_t>(mask)};
}

std::optional<int> PrefixOfNetmask(const Ipv4Octets& netmask) {
    const std::uint32_t mask = AddressValue(netmask);
    int bits = 0;
    while (bits < 32 && (mask & (std::uint32_t{1} << (31 - bits))) != 0) {
        ++bits;
    }
    if (NetmaskOfPrefix(bits) != netmask) {
        return std::nullopt;
    }
    return bits;
}

std::optional<Ipv4Octets> CameraSettings::Netmask() const {
    if (!prefixLength) {
        return std::nullopt;
    }
    return NetmaskOfPrefix(*prefixLength);
}

std::optional<Ipv4Octets> CameraSettings::DnsServer(std::size_t index) const {
    if (!dns || dns->Servers().size() <= index) {
        return std::nullopt;
    }
    return dns->Servers()[index];
}

std::optional<std::uint16_t> CameraSettings::HttpPort() const {
    if (!http || http->ports.empty()) {
        return std::nullopt;
    }
    return http->ports.front();
}

std::optional<bool> CameraSettings::HttpEnabled() const {
    if (!http) {
        return std::nullopt;
    }
    return http->enabled;
}

} // namespace vanmoor::onvif
