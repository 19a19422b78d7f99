#pragma once

#include "AddressText.h"
#include "Record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::listing {

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
};

// One device as found by any search: the library's device protocols, WS-Discovery, or both
// merged. Texts are the bytes the device sent.
struct DeviceInfo {
    std::optional<MacBytes> mac; // none for a device found by WS-Discovery alone
    Ipv4Octets ip{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    int port = 0;
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

    bool TakesCredentials() const { return protocol == 32970; }
    // False for a device that answered WS-Discovery alone: its netmask, gateway, DHCP state and
    // MAC are not known, and no settings command reaches it.
    bool SpeaksDeviceProtocol() const { return protocol != kWsdProtocol; }
};

// Every protocol the device answered: "4022", "32970,3702", "3702".
std::string ProtocolsText(const DeviceInfo& device);
// What names the device to a person: its MAC, else its endpoint reference.
std::string DeviceIdentity(const DeviceInfo& device);

// Every field, in the order of the full list of keys; an unknown local address or MAC is null,
// and so is every WS-Discovery field of a device that did not answer WS-Discovery.
Record DeviceRecord(const DeviceInfo& device);

// Keys of DeviceRecord: every one, the eleven that people look at first, the WS-Discovery ones,
// and the few that fit a table in 80 columns.
const std::vector<std::string>& AllDeviceKeys();
const std::vector<std::string>& MainDeviceKeys();
const std::vector<std::string>& WsdDeviceKeys();
const std::vector<std::string>& TableDeviceKeys();

} // namespace vanmoor::listing
