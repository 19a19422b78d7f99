#include "ProbeClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vanmoor::devsim::test {

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string(what) + ": " + strerror(errno));
    }
}

std::string Dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

} // namespace

ProbeClient::ProbeClient(const std::string& interface, const std::string& address,
                         std::uint16_t port)
    : m_Socket(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)), m_Address(address) {
    Check(m_Socket >= 0, "socket");
    const int on = 1;
    // Room for a whole burst of replies while the test reads them.
    const int receiveBuffer = 64 * 1024 * 1024;
    Check(setsockopt(m_Socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0, "SO_REUSEADDR");
    Check(setsockopt(m_Socket, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0, "SO_BROADCAST");
    Check(setsockopt(m_Socket, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) == 0, "IP_PKTINFO");
    if (setsockopt(m_Socket, SOL_SOCKET, SO_RCVBUFFORCE, &receiveBuffer, sizeof receiveBuffer) !=
        0) {
        Check(setsockopt(m_Socket, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer) ==
                  0,
              "SO_RCVBUF");
    }
    Check(setsockopt(m_Socket, SOL_SOCKET, SO_BINDTODEVICE, interface.c_str(),
                     static_cast<socklen_t>(interface.size())) == 0,
          "SO_BINDTODEVICE");
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    Check(bind(m_Socket, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0, "bind");
    socklen_t length = sizeof local;
    Check(getsockname(m_Socket, reinterpret_cast<sockaddr*>(&local), &length) == 0, "getsockname");
    m_Port = ntohs(local.sin_port);
}

ProbeClient::~ProbeClient() {
    close(m_Socket);
}

void ProbeClient::SendTo(std::span<const std::uint8_t> bytes, const std::string& address,
                         std::uint16_t port) {
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(port);
    Check(inet_pton(AF_INET, address.c_str(), &destination.sin_addr) == 1, "inet_pton");
    Check(sendto(m_Socket, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&destination),
                 sizeof destination) == static_cast<ssize_t>(bytes.size()),
          "sendto");
}

std::vector<Arrival> ProbeClient::Receive(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<Arrival> arrivals;
    std::vector<std::uint8_t> buffer(65536);
    while (arrivals.size() < count) {
        sockaddr_in source{};
        iovec payload{buffer.data(), buffer.size()};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        msghdr header{};
        header.msg_name = &source;
        header.msg_namelen = sizeof source;
        header.msg_iov = &payload;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t received = recvmsg(m_Socket, &header, MSG_DONTWAIT);
        if (received < 0) {
            Check(errno == EAGAIN || errno == EWOULDBLOCK, "recvmsg");
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd watched{m_Socket, POLLIN, 0};
            if (left.count() <= 0 || poll(&watched, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            continue;
        }
        Arrival arrival{{buffer.begin(), buffer.begin() + received},
                        Dotted(source.sin_addr),
                        ntohs(source.sin_port),
                        {}};
        for (cmsghdr* item = CMSG_FIRSTHDR(&header); item != nullptr;
             item = CMSG_NXTHDR(&header, item)) {
            if (item->cmsg_level == IPPROTO_IP && item->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                memcpy(&info, CMSG_DATA(item), sizeof info);
                arrival.destination = Dotted(info.ipi_addr);
            }
        }
        if (arrival.source != m_Address) {
            arrivals.push_back(std::move(arrival));
        }
    }
    return arrivals;
}

} // namespace vanmoor::devsim::test
