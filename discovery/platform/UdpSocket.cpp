#include "UdpSocket.h"

#include "InterfaceAddresses.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vanmoor::platform {

namespace {

// Room for a burst of replies queued faster than the receive loop takes them. A limit, not an
// allocation: the kernel charges only what is queued, at about 1 KiB per small datagram, and
// allows twice this figure for its bookkeeping. Measured with the burst benchmark (all devices
// answering at once on one interface of two, half on each port): 16 MiB found 65,536 of 65,536
// in only five of six runs, 20 MiB in every run but not 100,000, 24 MiB 100,000 of 100,000 in
// every run. The smallest that holds both is this one.
constexpr int kReceiveBufferBytes = 24 * 1024 * 1024;

int LastError() {
    return errno;
}

int SetIntOption(int handle, int level, int option, int value) {
    return setsockopt(handle, level, option, &value, sizeof value) == 0 ? 0 : LastError();
}

} // namespace

UdpSocket::~UdpSocket() {
    Close();
}

int UdpSocket::Open() {
    m_Handle = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_Handle < 0) {
        return LastError();
    }
    m_WakeHandle = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_WakeHandle < 0) {
        const int error = LastError();
        Close();
        return error;
    }
    // Privileged processes may exceed the system's limit; others get what the limit allows.
    if (SetIntOption(m_Handle, SOL_SOCKET, SO_RCVBUFFORCE, kReceiveBufferBytes) != 0) {
        SetIntOption(m_Handle, SOL_SOCKET, SO_RCVBUF, kReceiveBufferBytes);
    }
    return 0;
}

int UdpSocket::EnableAddressReuse() {
    return SetIntOption(m_Handle, SOL_SOCKET, SO_REUSEADDR, 1);
}

int UdpSocket::BindToLocalAddress(const std::string& localIP, int port) {
    const auto owner = FindInterfaceOwning(localIP);
    if (!owner) {
        return EADDRNOTAVAIL;
    }
    const std::string& device = owner->interfaceName;
    if (setsockopt(m_Handle, SOL_SOCKET, SO_BINDTODEVICE, device.c_str(),
                   static_cast<socklen_t>(device.size())) != 0) {
        return LastError();
    }
    // Every endpoint of an interface shares its port and device; the destination tells whose a
    // datagram is.
    if (const int error = SetIntOption(m_Handle, IPPROTO_IP, IP_PKTINFO, 1); error != 0) {
        return error;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<unsigned short>(port));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(m_Handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return LastError();
    }
    m_InterfaceIndex = owner->interfaceIndex;
    inet_pton(AF_INET, localIP.c_str(), &m_LocalAddress);
    return 0;
}

int UdpSocket::EnableBroadcast() {
    return SetIntOption(m_Handle, SOL_SOCKET, SO_BROADCAST, 1);
}

int UdpSocket::SendBroadcast(const char* data, int length, int port) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<unsigned short>(port));
    target.sin_addr.s_addr = htonl(INADDR_BROADCAST);

    iovec payload{const_cast<char*>(data), static_cast<size_t>(length < 0 ? 0 : length)};
    msghdr message{};
    message.msg_name = &target;
    message.msg_namelen = sizeof target;
    message.msg_iov = &payload;
    message.msg_iovlen = 1;

    // The source address is the endpoint's own, even on an interface with several addresses.
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    if (m_InterfaceIndex != 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_ifindex = static_cast<int>(m_InterfaceIndex);
        info.ipi_spec_dst.s_addr = m_LocalAddress;
        std::memcpy(CMSG_DATA(header), &info, sizeof info);
    }
    // A signal handled without SA_RESTART interrupts the call before anything was sent.
    ssize_t sent = 0;
    do {
        sent = sendmsg(m_Handle, &message, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent < 0 ? LastError() : 0;
}

UdpSocket::Wait UdpSocket::WaitReadable(int timeoutMilliseconds) {
    pollfd watched[2] = {{m_Handle, POLLIN, 0}, {m_WakeHandle, POLLIN, 0}};
    const int ready = poll(watched, 2, timeoutMilliseconds);
    if (ready < 0) {
        return errno == EINTR ? Wait::TimedOut : Wait::Failed;
    }
    if ((watched[1].revents & POLLIN) != 0) {
        return Wait::Woken;
    }
    if (ready == 0) {
        return Wait::TimedOut;
    }
    return (watched[0].revents & POLLIN) != 0 ? Wait::Readable : Wait::Failed;
}

void UdpSocket::Wake() {
    if (m_WakeHandle >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = write(m_WakeHandle, &one, sizeof one);
    }
}

UdpSocket::Received UdpSocket::Receive(char* buffer, int capacity) {
    sockaddr_in sender{};
    iovec space{buffer, static_cast<size_t>(capacity)};
    msghdr message{};
    message.msg_name = &sender;
    message.msg_namelen = sizeof sender;
    message.msg_iov = &space;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t received = recvmsg(m_Handle, &message, MSG_DONTWAIT);
    if (received < 0) {
        const int error = LastError();
        const bool empty = error == EAGAIN || error == EWOULDBLOCK;
        return {empty ? Received::Status::NothingQueued : Received::Status::Failed, 0, error, 0};
    }
    // Linux cuts a longer datagram silently; it is dropped like one the system refused.
    if ((message.msg_flags & MSG_TRUNC) != 0) {
        return {Received::Status::TooLong, 0, EMSGSIZE, 0};
    }
    std::uint32_t destination = 0;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            in_pktinfo info{};
            std::memcpy(&info, CMSG_DATA(header), sizeof info);
            destination = info.ipi_addr.s_addr;
        }
    }
    return {Received::Status::Datagram, static_cast<int>(received), 0, destination,
            sender.sin_addr.s_addr};
}

void UdpSocket::Close() {
    if (m_Handle >= 0) {
        close(m_Handle);
        m_Handle = -1;
    }
    if (m_WakeHandle >= 0) {
        close(m_WakeHandle);
        m_WakeHandle = -1;
    }
}

} // namespace vanmoor::platform
