#include "HelloListener.h"

#include "SimulatorInLan.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vanmoor::devsim::test {

HelloListener::HelloListener() : m_Socket(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    const int on = 1;
    setsockopt(m_Socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(3702);
    bind(m_Socket, reinterpret_cast<sockaddr*>(&local), sizeof local);
    ip_mreq membership{};
    inet_pton(AF_INET, "239.255.255.250", &membership.imr_multiaddr);
    inet_pton(AF_INET, "192.0.2.1", &membership.imr_interface);
    setsockopt(m_Socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership);
    const timeval wait{1, 0};
    setsockopt(m_Socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
}

HelloListener::~HelloListener() {
    close(m_Socket);
}

bool HelloListener::HeardHello(const std::vector<std::string>& texts) {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    char buffer[65536];
    while (std::chrono::steady_clock::now() < end) {
        const ssize_t size = recv(m_Socket, buffer, sizeof buffer, 0);
        const std::string text(buffer, size > 0 ? static_cast<std::size_t>(size) : 0);
        bool all = text.find(":Hello>") != std::string::npos;
        for (const std::string& wanted : texts) {
            all = all && text.find(wanted) != std::string::npos;
        }
        if (all) {
            return true;
        }
    }
    return false;
}

} // namespace vanmoor::devsim::test
