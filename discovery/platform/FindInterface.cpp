#include "InterfaceAddresses.h"

// The same on every system: a search of the list the system gave.
namespace vanmoor::platform {

std::optional<InterfaceAddress> FindInterfaceOwning(const std::string& address) {
    for (auto& candidate : LocalIpv4Addresses()) {
        if (candidate.address == address) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace vanmoor::platform
