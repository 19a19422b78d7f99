#pragma once

#include "SiteDevice.h"

#include <string>
#include <vector>

namespace vanmoor::commission {

// One IPv4 address of a local network interface.
struct InterfaceAddress {
    std::string name;    // "eth0"
    std::string address; // dotted text, as the library lists it
    int prefixLength = 0;
};

// The IPv4 addresses of the host's interfaces, as the platform lists them.
std::vector<InterfaceAddress> ListInterfaceAddresses();

// The library's local addresses (getIPinfo), each with the netmask of the interface that holds
// it; /32 for an address no interface lists any more.
std::vector<HostAddress> HostAddressesOf(const std::vector<std::string>& localAddresses);

} // namespace vanmoor::commission
