#include "UdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>

// UdpSocket's multicast and plain unicast operations on Linux.
namespace vanmoor::platform {

namespace {

int LastError() {
    return errno;
}

bool ParseAddress(const std::string& text, in_addr& address) {
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

int BindTo(int handle, in_addr address, int port) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<unsigned short>(port));
    local.sin_addr = address;
    return bind(handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0 ? 0
                                                                                      : LastError();
}

int SetIpOption(int handle, int option, const void* value, socklen_t size) {
    return setsockopt(handle, IPPROTO_IP, option, value, size) == 0 ? 0 : LastError();
}

} // namespace

int UdpSocket::BindAddress(const std::string& localIP, int port) {
    in_addr address{};
    if (!ParseAddress(localIP, address)) {
        return EINVAL;
    }
    return BindTo(m_Handle, address, port);
}

int UdpSocket::BindGroupPort(const std::string& group, const std::string& localIP, int port) {
    in_addr groupAddress{};
    in_addr interfaceAddress{};
    if (!ParseAddress(group, groupAddress) || !ParseAddress(localIP, interfaceAddress)) {
        return EINVAL;
    }
    return BindTo(m_Handle, groupAddress, port);
}

int UdpSocket::SetMulticastInterface(const std::string& localIP) {
    in_addr address{};
    if (!ParseAddress(localIP, address)) {
        return EINVAL;
    }
    return SetIpOption(m_Handle, IP_MULTICAST_IF, &address, sizeof address);
}

int UdpSocket::SetMulticastTtl(int hops) {
    return SetIpOption(m_Handle, IP_MULTICAST_TTL, &hops, sizeof hops);
}

int UdpSocket::SetMulticastLoop(bool enabled) {
    const int value = enabled ? 1 : 0;
    return SetIpOption(m_Handle, IP_MULTICAST_LOOP, &value, sizeof value);
}

int UdpSocket::JoinGroup(const std::string& group, const std::string& localIP) {
    ip_mreq membership{};
    if (!ParseAddress(group, membership.imr_multiaddr) ||
        !ParseAddress(localIP, membership.imr_interface)) {
        return EINVAL;
    }
    return SetIpOption(m_Handle, IP_ADD_MEMBERSHIP, &membership, sizeof membership);
}

int UdpSocket::ReceiveOnlyJoinedGroups() {
    const int off = 0;
    return SetIpOption(m_Handle, IP_MULTICAST_ALL, &off, sizeof off);
}

int UdpSocket::SendTo(const char* data, int length, const std::string& address, int port) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<unsigned short>(port));
    if (!ParseAddress(address, target.sin_addr)) {
        return EINVAL;
    }
    ssize_t sent = 0;
    do {
        sent = sendto(m_Handle, data, static_cast<size_t>(length < 0 ? 0 : length), MSG_NOSIGNAL,
                      reinterpret_cast<const sockaddr*>(&target), sizeof target);
    } while (sent < 0 && errno == EINTR);
    return sent < 0 ? LastError() : 0;
}

int UdpSocket::LocalPort() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(m_Handle, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

} // namespace vanmoor::platform
