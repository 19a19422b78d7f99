#include "../InterfaceList.h"

// winsock2.h before windows.h, which iphlpapi.h pulls in.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>

namespace vanmoor::commission {

namespace {

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back(); // the terminating zero
    return result;
}

} // namespace

std::vector<InterfaceAddress> ListInterfaceAddresses() {
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(size);
        result =
            GetAdaptersAddresses(AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST, nullptr,
                                 reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    if (result != NO_ERROR) {
        return {};
    }
    std::vector<InterfaceAddress> addresses;
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data());
         adapter != nullptr; adapter = adapter->Next) {
        for (auto* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
             unicast = unicast->Next) {
            const sockaddr* raw = unicast->Address.lpSockaddr;
            if (raw == nullptr || raw->sa_family != AF_INET) {
                continue;
            }
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(raw)->sin_addr, text,
                      sizeof text);
            addresses.push_back(
                {Utf8(adapter->FriendlyName), text, static_cast<int>(unicast->OnLinkPrefixLength)});
        }
    }
    return addresses;
}

} // namespace vanmoor::commission
