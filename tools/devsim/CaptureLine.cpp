#include "CaptureLine.h"

#include "AddressText.h"

#include <cctype>
#include <cstdio>

namespace vanmoor::devsim {

namespace {

std::string Seconds(Clock::time_point time, Clock::time_point start) {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(time - start).count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(micros / 1'000'000),
                  static_cast<long long>(micros % 1'000'000));
    return text;
}

} // namespace

std::string CaptureLine(const ReceivedDatagram& datagram, Clock::time_point start) {
    char head[96];
    std::snprintf(head, sizeof head, "%s %s:%u > %u %s %zu ", Seconds(datagram.time, start).c_str(),
                  FormatIpv4(datagram.sourceAddress).c_str(), datagram.sourcePort,
                  PortNumber(datagram.protocol), DatagramKindName(datagram.kind),
                  datagram.bytes.size());
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

namespace vanmoor::devsim {

std::string CaptureLine(const ServiceRequest& request, Clock::time_point start) {
    // The operation comes from the request: only letters and digits are written as they are.
    std::string operation = request.operation.empty() ? "-" : request.operation;
    for (char& c : operation) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') {
            c = '?';
        }
    }
    return Seconds(request.time, start) + " " + FormatIpv4(request.sourceAddress) + " > device " +
           std::to_string(request.device) + " " + operation + " login " +
           LoginSeenName(request.login) + (request.accepted ? " accepted" : " refused");
}

} // namespace vanmoor::devsim
