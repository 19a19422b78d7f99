#pragma once

#include "AddressText.h"
#include "Record.h"

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::listing {

using settings::Ipv4Octets;
using settings::MacBytes;

// Everything the library's queries tell about one device. Texts are the bytes the device sent.
struct DeviceInfo {
    MacBytes mac{};
    Ipv4Octets ip{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    int port = 0;
    bool dhcp = false;
    int protocol = 4022; // the port the device answered on: 4022 or 32970
    std::string name;
    std::string version;
    std::string model;
    std::string brand;
    std::string cameraName;
    std::string deviceCode;
    int type = 0;
    std::optional<std::string> localAddress; // the local address it was found through, if known

    bool TakesCredentials() const { return protocol == 32970; }
};

// Every field, in the order of the full list of keys; an unknown local address is null.
Record DeviceRecord(const DeviceInfo& device);

// Keys of DeviceRecord: every one, the eleven that people look at first, and the few that fit a
// table in 80 columns.
const std::vector<std::string>& AllDeviceKeys();
const std::vector<std::string>& MainDeviceKeys();
const std::vector<std::string>& TableDeviceKeys();

} // namespace vanmoor::listing
