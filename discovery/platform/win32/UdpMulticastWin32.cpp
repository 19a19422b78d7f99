#include "../UdpSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

// UdpSocket's multicast and plain unicast operations on Winsock 2.
namespace vanmoor::platform {

namespace {

SOCKET AsSocket(std::uintptr_t handle) {
    return static_cast<SOCKET>(handle);
}

bool ParseAddress(const std::string& text, IN_ADDR& address) {
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

int SetIpOption(std::uintptr_t handle, int option, const void* value, int size) {
    const int result =
        setsockopt(AsSocket(handle), IPPROTO_IP, option, static_cast<const char*>(value), size);
    return result == 0 ? 0 : WSAGetLastError();
}

int SetDwordOption(std::uintptr_t handle, int option, DWORD value) {
    return SetIpOption(handle, option, &value, sizeof value);
}

} // namespace

int UdpSocket::BindAddress(const std::string& localIP, int port) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<u_short>(port));
    if (!ParseAddress(localIP, local.sin_addr)) {
        return WSAEINVAL;
    }
    if (bind(AsSocket(m_Handle), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return WSAGetLastError();
    }
    return 0;
}

// Windows delivers a group joined on an interface to sockets bound to that interface's
// address; it refuses a bind to the group address.
int UdpSocket::BindGroupPort(const std::string& group, const std::string& localIP, int port) {
    IN_ADDR groupAddress{};
    if (!ParseAddress(group, groupAddress)) {
        return WSAEINVAL;
    }
    return BindAddress(localIP, port);
}

int UdpSocket::SetMulticastInterface(const std::string& localIP) {
    IN_ADDR address{};
    if (!ParseAddress(localIP, address)) {
        return WSAEINVAL;
    }
    return SetIpOption(m_Handle, IP_MULTICAST_IF, &address, sizeof address);
}

int UdpSocket::SetMulticastTtl(int hops) {
    return SetDwordOption(m_Handle, IP_MULTICAST_TTL, static_cast<DWORD>(hops));
}

int UdpSocket::SetMulticastLoop(bool enabled) {
    return SetDwordOption(m_Handle, IP_MULTICAST_LOOP, enabled ? 1 : 0);
}

int UdpSocket::JoinGroup(const std::string& group, const std::string& localIP) {
    ip_mreq membership{};
    if (!ParseAddress(group, membership.imr_multiaddr) ||
        !ParseAddress(localIP, membership.imr_interface)) {
        return WSAEINVAL;
    }
    return SetIpOption(m_Handle, IP_ADD_MEMBERSHIP, &membership, sizeof membership);
}

int UdpSocket::ReceiveOnlyJoinedGroups() {
    return 0;
}

int UdpSocket::SendTo(const char* data, int length, const std::string& address, int port) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<u_short>(port));
    if (!ParseAddress(address, target.sin_addr)) {
        return WSAEINVAL;
    }
    const int sent = sendto(AsSocket(m_Handle), data, length < 0 ? 0 : length, 0,
                            reinterpret_cast<const sockaddr*>(&target), sizeof target);
    return sent == SOCKET_ERROR ? WSAGetLastError() : 0;
}

int UdpSocket::LocalPort() const {
    sockaddr_in local{};
    int size = sizeof local;
    if (getsockname(AsSocket(m_Handle), reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

} // namespace vanmoor::platform
