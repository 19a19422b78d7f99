#pragma once

#include "AddressText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::onvif {

using settings::Ipv4Octets;
using settings::MacBytes;

// The camera's DNS settings as its answer gave them. Search domains and servers beyond the
// first two are kept so that a change of DNS 1 or 2 sends them back as they were.
struct DnsSettings {
    bool fromDhcp = false;
    std::vector<std::string> searchDomains;
    std::vector<Ipv4Octets> manualServers;
    std::vector<Ipv4Octets> dhcpServers;

    // The servers in use: those from DHCP when the camera takes them from there.
    const std::vector<Ipv4Octets>& Servers() const {
        return fromDhcp ? dhcpServers : manualServers;
    }
    bool operator==(const DnsSettings&) const = default;
};

// The HTTP protocol of the camera: a change of port replaces the first port and keeps the rest.
struct HttpProtocol {
    bool enabled = false;
    std::vector<std::uint16_t> ports;
    bool operator==(const HttpProtocol&) const = default;
};

// What was read from a camera's device service. Every field is optional: a camera may leave
// anything out, and an operation that failed leaves its fields unknown.
struct CameraSettings {
    // The network interface the camera was reached through (GetNetworkInterfaces).
    std::optional<MacBytes> mac;
    std::optional<std::string> interfaceToken;
    std::optional<bool> dhcp;
    std::optional<Ipv4Octets> address;
    std::optional<int> prefixLength; // 0..32
    // GetNetworkDefaultGateway, GetDNS, GetHostname, GetNetworkProtocols.
    std::optional<Ipv4Octets> gateway;
    std::optional<DnsSettings> dns;
    std::optional<std::string> hostname;
    std::optional<HttpProtocol> http;
    // GetDeviceInformation.
    std::optional<std::string> manufacturer;
    std::optional<std::string> model;
    std::optional<std::string> firmware;
    std::optional<std::string> serial;
    std::optional<std::string> hardwareId;
    // GetScopes: the name from the name scope, and every configurable scope as read.
    std::optional<std::string> name;
    std::optional<std::vector<std::string>> configurableScopes;

    bool operator==(const CameraSettings&) const = default;

    std::optional<Ipv4Octets> Netmask() const;
    std::optional<Ipv4Octets> Dns1() const { return DnsServer(0); }
    std::optional<Ipv4Octets> Dns2() const { return DnsServer(1); }
    std::optional<std::uint16_t> HttpPort() const;
    std::optional<bool> HttpEnabled() const;

private:
    std::optional<Ipv4Octets> DnsServer(std::size_t index) const;
};

// The netmask of a prefix length 0..32: 24 is 255.255.255.0.
Ipv4Octets NetmaskOfPrefix(int prefixLength);

// The prefix length of a contiguous netmask; none for a mask such as 255.0.255.0.
std::optional<int> PrefixOfNetmask(const Ipv4Octets& netmask);

} // namespace vanmoor::onvif
