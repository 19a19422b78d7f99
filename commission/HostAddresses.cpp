// The host's own addresses with their subnets, from whichever interface list the platform has.
#include "InterfaceList.h"
#include "Subnet.h"

namespace vanmoor::commission {

std::vector<HostAddress> HostAddressesOf(const std::vector<std::string>& localAddresses) {
    const std::vector<InterfaceAddress> interfaces = ListInterfaceAddresses();
    std::vector<HostAddress> host;
    for (const std::string& address : localAddresses) {
        int prefixLength = 32;
        for (const InterfaceAddress& entry : interfaces) {
            if (entry.address == address) {
                prefixLength = entry.prefixLength;
                break;
            }
        }
        host.push_back({settings::OctetsFromDottedText(address), MaskOfPrefix(prefixLength)});
    }
    return host;
}

} // namespace vanmoor::commission
