#include "InterfaceAddresses.h"

#include <algorithm>
#include <cstring>

// The same on every system: work on the list the system gave.
namespace vanmoor::platform {

void AddAddressOnce(std::vector<InterfaceAddress>& list, InterfaceAddress entry) {
    unsigned char bytes[4] = {};
    std::memcpy(bytes, &entry.addressValue, sizeof bytes);
    entry.address = std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
                    std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
    const bool seen = std::any_of(list.begin(), list.end(), [&](const InterfaceAddress& known) {
        return known.addressValue == entry.addressValue;
    });
    if (!seen) {
        list.push_back(std::move(entry));
    }
}

std::optional<InterfaceAddress> FindInterfaceOwning(const std::string& address) {
    for (auto& candidate : LocalIpv4Addresses()) {
        if (candidate.address == address) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace vanmoor::platform
