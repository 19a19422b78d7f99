#include "Crypto.h"

namespace vanmoor::onvif {

std::vector<std::uint8_t> Hash(HashAlgorithm algorithm, std::string_view data) {
    return Hash(algorithm,
                std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
}

std::string HexHash(HashAlgorithm algorithm, std::string_view data) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t byte : Hash(algorithm, data)) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0f];
    }
    return hex;
}

} // namespace vanmoor::onvif
