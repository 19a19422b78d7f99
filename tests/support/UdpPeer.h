#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::test {

struct Datagram {
    std::vector<std::uint8_t> bytes;
    std::string sourceAddress;
    int sourcePort = 0;
};

// A plain UDP socket for tests, playing the other side of the library's endpoints. It lives in
// the network namespace of the thread that constructs it (see RunInLan).
class UdpPeer {
public:
    // Binds `address` (dotted text, "0.0.0.0" for every address) and `port`, with broadcasts
    // allowed and address reuse on.
    UdpPeer(const std::string& address, int port);
    ~UdpPeer();
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;

    void SendTo(const std::string& address, int port, const std::vector<std::uint8_t>& bytes);
    // The next datagram, or nothing when none arrives within `timeout`.
    std::optional<Datagram> Receive(std::chrono::milliseconds timeout);

private:
    int m_Handle = -1;
};

} // namespace vanmoor::test
