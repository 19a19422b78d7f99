#pragma once

#include "AddressText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::site {

using settings::Ipv4Octets;
using settings::MacBytes;

// The port a WS-Discovery device answers on; the protocol of a device that speaks nothing else.
constexpr int kWsdProtocol = 3702;

// What a WS-Discovery answer tells beyond the common fields. Texts are the bytes the device sent.
struct WsdDetails {
    std::string endpoint; // the endpoint reference (urn:uuid:...): the device's identity
    std::vector<std::string> xaddrs;
    std::vector<std::string> types; // each as {namespace}name
    std::vector<std::string> scopes;
    std::string hardware;
    std::string location;
    std::optional<std::uint32_t> metadataVersion;
    // The address its answer or announcement came from. Its XAddrs are its own word, so only
    // this says which host speaks for the camera.
    std::optional<Ipv4Octets> answeredFrom;
};

// What a camera's device service told when it was read with credentials, beyond the fields
// every device has (which the reading fills in: MAC, netmask, gateway, DNS, DHCP, web port,
// brand, model and version). Texts are the bytes the camera sent.
struct DeviceServiceDetails {
    std::string hostname;
    std::string serial;
    std::string hardwareId;
};

// One device as found by any search: the library's device protocols, WS-Discovery, or both
// merged. The listing prints it, the site checks and the address planner take it. Texts are the
// bytes the device sent.
struct SiteDevice {
    std::optional<MacBytes> mac; // none for a device found by WS-Discovery alone
    Ipv4Octets ip{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    int port = 0; // web port
    bool dhcp = false;
    int protocol = 4022; // the port the device answered on: 4022, 32970 or 3702 alone
    std::string name;
    std::string version;
    std::string model;
    std::string brand;
    std::string cameraName;
    std::string deviceCode;
    int type = 0;
    std::optional<std::string> localAddress; // the local address it was found through, if known
    std::optional<WsdDetails> wsd;           // when it answered WS-Discovery
    std::optional<DeviceServiceDetails> deviceService; // when its device service was read

    // Found on port 32970: settings go with user and password.
    bool TakesCredentials() const { return protocol == 32970; }
    // False for a device that answered WS-Discovery alone: its netmask, gateway, DHCP state and
    // MAC are not known, and no settings command reaches it.
    bool SpeaksDeviceProtocol() const { return protocol != kWsdProtocol; }
    // Whether netmask, gateway, DNS and DHCP are the device's own: told by a device protocol, or
    // read from the device service of a camera found by WS-Discovery alone.
    bool SettingsKnown() const { return SpeaksDeviceProtocol() || deviceService.has_value(); }
    // False for a camera found by WS-Discovery alone whose transport addresses name a host name
    // and no IPv4 address: its `ip` holds zeros it never sent, and no other device shares it.
    bool AddressKnown() const { return SpeaksDeviceProtocol() || ip != Ipv4Octets{}; }
    // The local address as numbers; 0.0.0.0 when not known.
    Ipv4Octets LocalAddressOctets() const {
        return localAddress ? settings::OctetsFromDottedText(*localAddress) : Ipv4Octets{};
    }
    // The MAC, or 00:00:00:00:00:00 for a device without one.
    MacBytes MacOrZero() const { return mac.value_or(MacBytes{}); }
};

} // namespace vanmoor::site
