#include "../InterfaceAddresses.h"

// winsock2.h before windows.h, which iphlpapi.h pulls in.
#include <winsock2.h>

#include <iphlpapi.h>

#include <vector>

namespace vanmoor::platform {

namespace {

// The adapter list, grown until it fits; empty when the system cannot tell.
std::vector<unsigned char> AdapterList() {
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    for (int attempt = 0; attempt < 4; ++attempt) {
        buffer.resize(size);
        const ULONG result = GetAdaptersAddresses(
            AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
        if (result == NO_ERROR) {
            return buffer;
        }
        if (result != ERROR_BUFFER_OVERFLOW) {
            break;
        }
    }
    return {};
}

} // namespace

std::vector<InterfaceAddress> LocalIpv4Addresses() {
    std::vector<InterfaceAddress> result;
    auto buffer = AdapterList();
    if (buffer.empty()) {
        return result;
    }
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data());
         adapter != nullptr; adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) {
            continue;
        }
        for (auto* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
             unicast = unicast->Next) {
            const sockaddr* raw = unicast->Address.lpSockaddr;
            if (raw == nullptr || raw->sa_family != AF_INET) {
                continue;
            }
            InterfaceAddress listed;
            listed.interfaceName = adapter->AdapterName;
            listed.interfaceIndex = adapter->IfIndex;
            listed.addressValue = reinterpret_cast<const sockaddr_in*>(raw)->sin_addr.s_addr;
            ULONG mask = 0;
            if (ConvertLengthToIpv4Mask(unicast->OnLinkPrefixLength, &mask) == NO_ERROR) {
                listed.netmask = mask;
            }
            AddAddressOnce(result, std::move(listed));
        }
    }
    return result;
}

} // namespace vanmoor::platform
