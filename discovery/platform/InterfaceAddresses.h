#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::platform {

struct InterfaceAddress {
    std::string interfaceName;
    unsigned interfaceIndex = 0;
    std::string address; // dotted IPv4 text
};

// IPv4 addresses of the interfaces that are up and not loopback, each address once, in the
// order the system lists them.
std::vector<InterfaceAddress> LocalIpv4Addresses();

// The up interface that owns `address` (dotted text, compared exactly), if any.
std::optional<InterfaceAddress> FindInterfaceOwning(const std::string& address);

} // namespace vanmoor::platform
