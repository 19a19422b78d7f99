#pragma once

#include "UdpPeer.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace vanmoor::wsd::test {

// A host of a lan namespace sending one readable but useless 8 KB datagram after another to
// one address and port, as fast as it can, until `length` passed or it is destroyed.
class DatagramFlood {
public:
    DatagramFlood(std::unique_ptr<vanmoor::test::UdpPeer> from, std::string address, int port,
                  std::chrono::milliseconds length);
    ~DatagramFlood();
    DatagramFlood(const DatagramFlood&) = delete;
    DatagramFlood& operator=(const DatagramFlood&) = delete;

private:
    std::unique_ptr<vanmoor::test::UdpPeer> m_from;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace vanmoor::wsd::test
