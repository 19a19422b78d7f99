#include "InterfaceList.h"

#include <arpa/inet.h>
#include <bit>
#include <ifaddrs.h>
#include <memory>
#include <netinet/in.h>

namespace vanmoor::commission {

std::vector<InterfaceAddress> ListInterfaceAddresses() {
    ifaddrs* first = nullptr;
    if (getifaddrs(&first) != 0) {
        return {};
    }
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(first, &freeifaddrs);
    std::vector<InterfaceAddress> addresses;
    for (const ifaddrs* entry = first; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
        int prefix = 0;
        if (entry->ifa_netmask != nullptr) {
            const auto* mask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask);
            prefix = std::popcount(static_cast<std::uint32_t>(mask->sin_addr.s_addr));
        }
        addresses.push_back({entry->ifa_name, text, prefix});
    }
    return addresses;
}

} // namespace vanmoor::commission
