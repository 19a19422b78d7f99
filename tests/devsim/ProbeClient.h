#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vanmoor::devsim::test {

// A datagram as the pc side received it.
struct Arrival {
    std::vector<std::uint8_t> bytes;
    std::string source; // dotted address
    std::uint16_t sourcePort;
    std::string destination; // the datagram's own destination address: tells broadcasts apart
};

// A UDP socket in the pc namespace, tied to one pc interface the way the library's endpoints
// are: it receives unicast and broadcast datagrams that arrive on that interface only, and its
// broadcasts leave through it with the interface's address as source.
class ProbeClient {
public:
    // Port 0 binds an ephemeral port.
    ProbeClient(const std::string& interface, const std::string& address, std::uint16_t port);
    ~ProbeClient();
    ProbeClient(const ProbeClient&) = delete;
    ProbeClient& operator=(const ProbeClient&) = delete;

    std::uint16_t Port() const { return m_Port; }
    const std::string& Address() const { return m_Address; }

    void SendTo(std::span<const std::uint8_t> bytes, const std::string& address,
                std::uint16_t port);
    void Broadcast(std::span<const std::uint8_t> bytes, std::uint16_t port) {
        SendTo(bytes, "255.255.255.255", port);
    }

    // Datagrams from elsewhere (this client's own broadcasts are skipped) until `count` arrived
    // or the deadline passed.
    std::vector<Arrival> Receive(std::size_t count,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    int m_Socket = -1;
    std::string m_Address;
    std::uint16_t m_Port = 0;
};

} // namespace vanmoor::devsim::test
