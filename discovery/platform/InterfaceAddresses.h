#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::platform {

struct InterfaceAddress {
    // The device that carries the address. An address with a label ("eth0:1") belongs to the
    // device named before the colon, and only that name can be bound to.
    std::string interfaceName;
    unsigned interfaceIndex = 0;
    std::string address;            // dotted IPv4 text
    std::uint32_t addressValue = 0; // the same, network byte order
    std::uint32_t netmask = 0;      // network byte order
};

// IPv4 addresses of the interfaces that are up and not loopback, each address once, in the
// order the system lists them.
std::vector<InterfaceAddress> LocalIpv4Addresses();

// For the systems' LocalIpv4Addresses(): appends `entry`, its dotted text made from its
// addressValue, unless the list already holds that address.
void AddAddressOnce(std::vector<InterfaceAddress>& list, InterfaceAddress entry);

// The entry of LocalIpv4Addresses() for `address` (dotted text, compared exactly), if any. An
// address that the loopback interface carries too belongs to its other interface.
std::optional<InterfaceAddress> FindInterfaceOwning(const std::string& address);

} // namespace vanmoor::platform
