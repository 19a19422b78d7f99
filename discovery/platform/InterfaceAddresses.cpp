#include "InterfaceAddresses.h"

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
        InterfaceAddress listed;
        listed.interfaceName = DeviceName(entry->ifa_name);
        listed.interfaceIndex = if_nametoindex(listed.interfaceName.c_str());
        listed.addressValue =
            reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr;
        if (entry->ifa_netmask != nullptr) {
            listed.netmask =
                reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr;
        }
        AddAddressOnce(result, std::move(listed));
    }
    freeifaddrs(list);
    return result;
}

} // namespace vanmoor::platform
