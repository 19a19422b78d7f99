#include "DeviceSocket.h"

#include <cerrno>
#include <cstring>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <system_error>

namespace vanmoor::devsim {

namespace {

constexpr int kSendBufferBytes = 32 * 1024 * 1024;
// One socket plays every device: a batch sends thousands of settings commands at once, which
// real devices would each receive on their own.
constexpr int kReceiveBufferBytes = 32 * 1024 * 1024;

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void SetIntOption(int fd, int option, int value, const char* what) {
    if (setsockopt(fd, SOL_SOCKET, option, &value, sizeof value) != 0) {
        ThrowErrno(what);
    }
}

} // namespace

UniqueFd OpenDeviceSocket(std::uint16_t port) {
    UniqueFd socketFd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP));
    if (socketFd.Get() < 0) {
        ThrowErrno("socket");
    }
    SetIntOption(socketFd.Get(), SO_BROADCAST, 1, "SO_BROADCAST");
    // The forced sizes pass the system's limit but need the right to administer the network;
    // without it the ordinary request gets what the limit allows.
    if (setsockopt(socketFd.Get(), SOL_SOCKET, SO_SNDBUFFORCE, &kSendBufferBytes,
                   sizeof kSendBufferBytes) != 0) {
        SetIntOption(socketFd.Get(), SO_SNDBUF, kSendBufferBytes, "SO_SNDBUF");
    }
    if (setsockopt(socketFd.Get(), SOL_SOCKET, SO_RCVBUFFORCE, &kReceiveBufferBytes,
                   sizeof kReceiveBufferBytes) != 0) {
        SetIntOption(socketFd.Get(), SO_RCVBUF, kReceiveBufferBytes, "SO_RCVBUF");
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(socketFd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ThrowErrno("bind to port " + std::to_string(port));
    }
    return socketFd;
}

std::vector<Ipv4> LocalAddresses() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        ThrowErrno("getifaddrs");
    }
    std::vector<Ipv4> addresses;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            Ipv4 bytes;
            std::memcpy(bytes.data(), &address->sin_addr, bytes.size());
            addresses.push_back(bytes);
        }
    }
    freeifaddrs(list);
    return addresses;
}

} // namespace vanmoor::devsim
