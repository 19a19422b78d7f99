#include "MessageId.h"

#include <array>
#include <cstdio>
#include <random>

namespace vanmoor::wsd {

std::string NewMessageId() {
    thread_local std::mt19937_64 random = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    std::array<unsigned char, 16> bytes{};
    for (std::size_t at = 0; at < bytes.size(); at += 8) {
        const std::uint64_t value = random();
        for (std::size_t byte = 0; byte < 8; ++byte) {
            bytes[at + byte] = static_cast<unsigned char>(value >> (8 * byte));
        }
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    char text[48];
    std::snprintf(text, sizeof text,
                  "urn:uuid:%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x",
                  bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7],
                  bytes[8], bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14],
                  bytes[15]);
    return text;
}

} // namespace vanmoor::wsd
