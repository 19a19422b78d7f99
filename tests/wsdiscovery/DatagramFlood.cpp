#include "DatagramFlood.h"

#include <cstdint>
#include <exception>
#include <vector>

namespace vanmoor::wsd::test {

namespace {

// Well-formed XML that every reader parses whole before finding it is no discovery message.
std::vector<std::uint8_t> UselessDatagram() {
    std::string text = "<e>";
    while (text.size() < 8000) {
        text += "<i a=\"x\">text</i>";
    }
    text += "</e>";
    return {text.begin(), text.end()};
}

} // namespace

DatagramFlood::DatagramFlood(std::unique_ptr<vanmoor::test::UdpPeer> from, std::string address,
                             int port, std::chrono::milliseconds length)
    : m_from(std::move(from)) {
    m_thread = std::thread([this, address = std::move(address), port, length] {
        const std::vector<std::uint8_t> datagram = UselessDatagram();
        const auto end = std::chrono::steady_clock::now() + length;
        try {
            while (!m_stop && std::chrono::steady_clock::now() < end) {
                m_from->SendTo(address, port, datagram);
            }
        } catch (const std::exception&) {
            // The receiver's end of a flood is no fault of the test.
        }
    });
}

DatagramFlood::~DatagramFlood() {
    m_stop = true;
    m_thread.join();
}

} // namespace vanmoor::wsd::test
