#include "CaptureLine.h"

#include "AddressText.h"

#include <cstdio>

namespace vanmoor::devsim {

std::string CaptureLine(const ReceivedDatagram& datagram, Clock::time_point start) {
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(datagram.time - start).count();
    char head[96];
    std::snprintf(
        head, sizeof head, "%lld.%06lld %s:%u > %u %s %zu ",
        static_cast<long long>(micros / 1'000'000), static_cast<long long>(micros % 1'000'000),
        FormatIpv4(datagram.sourceAddress).c_str(), datagram.sourcePort,
        PortNumber(datagram.protocol), DatagramKindName(datagram.kind), datagram.bytes.size());
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string line = head;
    line.reserve(line.size() + 2 * datagram.bytes.size());
    for (std::uint8_t byte : datagram.bytes) {
        line += kHexDigits[byte >> 4];
        line += kHexDigits[byte & 0x0f];
    }
    return line;
}

} // namespace vanmoor::devsim
