#include "InterfaceAddresses.h"

#include <algorithm>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace vanmoor::platform {

namespace {

// Every IPv4 address of an up interface, loopback included, in system order.
std::vector<InterfaceAddress> UpIpv4Addresses(bool includeLoopback) {
    std::vector<InterfaceAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return result;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0 ||
            (!includeLoopback && (entry->ifa_flags & IFF_LOOPBACK) != 0)) {
            continue;
        }
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) == nullptr) {
            continue;
        }
        const bool seen = std::any_of(result.begin(), result.end(),
                                      [&](const auto& known) { return known.address == text; });
        if (!seen) {
            result.push_back({entry->ifa_name, if_nametoindex(entry->ifa_name), text});
        }
    }
    freeifaddrs(list);
    return result;
}

} // namespace

std::vector<InterfaceAddress> LocalIpv4Addresses() {
    return UpIpv4Addresses(false);
}

std::optional<InterfaceAddress> FindInterfaceOwning(const std::string& address) {
    for (auto& candidate : UpIpv4Addresses(true)) {
        if (candidate.address == address) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace vanmoor::platform
