#include "InterfaceAddresses.h"

#include <algorithm>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace vanmoor::platform {

namespace {

std::string DeviceName(const char* interfaceName) {
    const std::string name = interfaceName;
    return name.substr(0, name.find(':'));
}

} // namespace

std::vector<InterfaceAddress> LocalIpv4Addresses() {
    std::vector<InterfaceAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return result;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) == nullptr) {
            continue;
        }
        const bool seen = std::any_of(result.begin(), result.end(),
                                      [&](const auto& known) { return known.address == text; });
        if (seen) {
            continue;
        }
        InterfaceAddress listed;
        listed.interfaceName = DeviceName(entry->ifa_name);
        listed.interfaceIndex = if_nametoindex(listed.interfaceName.c_str());
        listed.address = text;
        listed.addressValue = address->sin_addr.s_addr;
        if (entry->ifa_netmask != nullptr) {
            listed.netmask =
                reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr;
        }
        result.push_back(std::move(listed));
    }
    freeifaddrs(list);
    return result;
}

} // namespace vanmoor::platform
