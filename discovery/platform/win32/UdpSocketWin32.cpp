#include "../UdpSocket.h"

#include <mswsock.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

namespace vanmoor::platform {

namespace {

// Room for a burst of replies queued faster than the receive loop takes them, as on Linux.
constexpr int kReceiveBufferBytes = 24 * 1024 * 1024;

SOCKET AsSocket(std::uintptr_t handle) {
    return static_cast<SOCKET>(handle);
}

int SetIntOption(std::uintptr_t handle, int level, int option, int value) {
    const int result = setsockopt(AsSocket(handle), level, option,
                                  reinterpret_cast<const char*>(&value), sizeof value);
    return result == 0 ? 0 : WSAGetLastError();
}

// WSARecvMsg is an extension that Winsock hands out per socket provider; without it the
// destination of a datagram stays unknown and receives fall back to recvfrom.
LPFN_WSARECVMSG ReceiveMessageFunction(std::uintptr_t handle) {
    GUID id = WSAID_WSARECVMSG;
    LPFN_WSARECVMSG function = nullptr;
    DWORD bytes = 0;
    if (WSAIoctl(AsSocket(handle), SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &function,
                 sizeof function, &bytes, nullptr, nullptr) != 0) {
        return nullptr;
    }
    return function;
}

UdpSocket::Received ReceiveFailure() {
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
        return {UdpSocket::Received::Status::NothingQueued, 0, error, 0};
    }
    // Windows refuses a datagram longer than the buffer; its rest is gone.
    return {error == WSAEMSGSIZE ? UdpSocket::Received::Status::TooLong
                                 : UdpSocket::Received::Status::Failed,
            0, error, 0};
}

} // namespace

UdpSocket::~UdpSocket() {
    Close();
}

int UdpSocket::Open() {
    const SOCKET handle = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (handle == INVALID_SOCKET) {
        return WSAGetLastError();
    }
    m_Handle = handle;
    m_Event = WSACreateEvent();
    if (m_Event == WSA_INVALID_EVENT) {
        const int error = WSAGetLastError();
        m_Event = nullptr;
        Close();
        return error;
    }
    // Also makes the socket non-blocking, so that Receive never waits.
    if (WSAEventSelect(handle, m_Event, FD_READ) != 0) {
        const int error = WSAGetLastError();
        Close();
        return error;
    }
    SetIntOption(m_Handle, SOL_SOCKET, SO_RCVBUF, kReceiveBufferBytes);
    // Every datagram then tells the address it was sent to, so that an interface with several
    // addresses credits each reply to the right one.
    if (SetIntOption(m_Handle, IPPROTO_IP, IP_PKTINFO, 1) == 0) {
        m_ReceiveMessage = reinterpret_cast<void*>(ReceiveMessageFunction(m_Handle));
    }
    return 0;
}

int UdpSocket::EnableAddressReuse() {
    return SetIntOption(m_Handle, SOL_SOCKET, SO_REUSEADDR, 1);
}

// The library's endpoints report a text that is no address as an address not available.
int UdpSocket::BindToLocalAddress(const std::string& localIP, int port) {
    IN_ADDR address{};
    if (inet_pton(AF_INET, localIP.c_str(), &address) != 1) {
        return WSAEADDRNOTAVAIL;
    }
    return BindAddress(localIP, port);
}

int UdpSocket::EnableBroadcast() {
    return SetIntOption(m_Handle, SOL_SOCKET, SO_BROADCAST, 1);
}

int UdpSocket::SendBroadcast(const char* data, int length, int port) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<u_short>(port));
    target.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    // A socket bound to an interface address sends the limited broadcast through that interface.
    const int sent = sendto(AsSocket(m_Handle), data, length < 0 ? 0 : length, 0,
                            reinterpret_cast<const sockaddr*>(&target), sizeof target);
    return sent == SOCKET_ERROR ? WSAGetLastError() : 0;
}

UdpSocket::Wait UdpSocket::WaitReadable(int timeoutMilliseconds) {
    if (m_Woken) {
        return Wait::Woken;
    }
    const DWORD result = WSAWaitForMultipleEvents(1, &m_Event, FALSE,
                                                  static_cast<DWORD>(timeoutMilliseconds), FALSE);
    if (m_Woken) {
        return Wait::Woken;
    }
    if (result == WSA_WAIT_TIMEOUT) {
        return Wait::TimedOut;
    }
    if (result != WSA_WAIT_EVENT_0) {
        return Wait::Failed;
    }
    // Resets the event; the next receive call re-arms FD_READ while datagrams remain queued.
    WSANETWORKEVENTS events{};
    if (WSAEnumNetworkEvents(AsSocket(m_Handle), m_Event, &events) != 0) {
        return Wait::Failed;
    }
    return (events.lNetworkEvents & FD_READ) != 0 ? Wait::Readable : Wait::TimedOut;
}

void UdpSocket::Wake() {
    m_Woken = true;
    if (m_Event != nullptr) {
        WSASetEvent(m_Event);
    }
}

UdpSocket::Received UdpSocket::Receive(char* buffer, int capacity) {
    if (m_ReceiveMessage == nullptr) {
        sockaddr_in sender{};
        int senderLength = sizeof sender;
        const int received = recvfrom(AsSocket(m_Handle), buffer, capacity, 0,
                                      reinterpret_cast<sockaddr*>(&sender), &senderLength);
        return received == SOCKET_ERROR
                   ? ReceiveFailure()
                   : Received{Received::Status::Datagram, received, 0, 0, sender.sin_addr.s_addr};
    }
    sockaddr_in sender{};
    WSABUF data{static_cast<ULONG>(capacity < 0 ? 0 : capacity), buffer};
    char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))] = {};
    WSAMSG message{};
    message.name = reinterpret_cast<sockaddr*>(&sender);
    message.namelen = sizeof sender;
    message.lpBuffers = &data;
    message.dwBufferCount = 1;
    message.Control = WSABUF{sizeof control, control};
    DWORD received = 0;
    const auto receiveMessage = reinterpret_cast<LPFN_WSARECVMSG>(m_ReceiveMessage);
    if (receiveMessage(AsSocket(m_Handle), &message, &received, nullptr, nullptr) != 0) {
        return ReceiveFailure();
    }
    std::uint32_t destination = 0;
    for (WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message); header != nullptr;
         header = WSA_CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            IN_PKTINFO info{};
            std::memcpy(&info, WSA_CMSG_DATA(header), sizeof info);
            destination = info.ipi_addr.s_addr;
        }
    }
    return {Received::Status::Datagram, static_cast<int>(received), 0, destination,
            sender.sin_addr.s_addr};
}

void UdpSocket::Close() {
    if (m_Handle != static_cast<std::uintptr_t>(INVALID_SOCKET)) {
        closesocket(AsSocket(m_Handle));
        m_Handle = static_cast<std::uintptr_t>(INVALID_SOCKET);
    }
    if (m_Event != nullptr) {
        WSACloseEvent(m_Event);
        m_Event = nullptr;
    }
}

} // namespace vanmoor::platform
