#pragma once

#include <string>
#include <vector>

namespace vanmoor::cli {

// One IPv4 address of a local network interface.
struct InterfaceAddress {
    std::string name;    // "eth0"
    std::string address; // dotted text, as the library lists it
    int prefixLength = 0;
};

// The IPv4 addresses of the host's interfaces, as the platform lists them.
std::vector<InterfaceAddress> ListInterfaceAddresses();

} // namespace vanmoor::cli
