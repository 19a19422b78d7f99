#include "UdpPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace vanmoor::test {

namespace {

sockaddr_in Endpoint(const std::string& address, int port) {
    sockaddr_in endpoint{};
    endpoint.sin_family = AF_INET;
    endpoint.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &endpoint.sin_addr) != 1) {
        throw std::invalid_argument("not an IPv4 address: " + address);
    }
    return endpoint;
}

} // namespace

UdpPeer::UdpPeer(const std::string& address, int port) {
    m_Handle = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_Handle < 0) {
        throw std::runtime_error("socket failed");
    }
    const int on = 1;
    setsockopt(m_Handle, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    setsockopt(m_Handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in local = Endpoint(address, port);
    if (bind(m_Handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        close(m_Handle);
        throw std::runtime_error("cannot bind " + address + ":" + std::to_string(port));
    }
}

UdpPeer::~UdpPeer() {
    close(m_Handle);
}

void UdpPeer::SendTo(const std::string& address, int port, const std::vector<std::uint8_t>& bytes) {
    const sockaddr_in target = Endpoint(address, port);
    if (sendto(m_Handle, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target),
               sizeof target) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("cannot send to " + address + ":" + std::to_string(port));
    }
}

std::optional<Datagram> UdpPeer::Receive(std::chrono::milliseconds timeout) {
    pollfd watched{m_Handle, POLLIN, 0};
    if (poll(&watched, 1, static_cast<int>(timeout.count())) <= 0) {
        return std::nullopt;
    }
    Datagram datagram;
    datagram.bytes.resize(65536);
    sockaddr_in source{};
    socklen_t sourceLength = sizeof source;
    const ssize_t received = recvfrom(m_Handle, datagram.bytes.data(), datagram.bytes.size(), 0,
                                      reinterpret_cast<sockaddr*>(&source), &sourceLength);
    if (received < 0) {
        return std::nullopt;
    }
    datagram.bytes.resize(static_cast<std::size_t>(received));
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &source.sin_addr, text, sizeof text);
    datagram.sourceAddress = text;
    datagram.sourcePort = ntohs(source.sin_port);
    return datagram;
}

} // namespace vanmoor::test
