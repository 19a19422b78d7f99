#include "Base64.h"

namespace vanmoor::onvif {

std::string Base64(std::span<const std::uint8_t> bytes) {
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t group = (std::uint32_t{bytes[i]} << 16) |
                                    (left > 1 ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                    (left > 2 ? std::uint32_t{bytes[i + 2]} : 0);
        text += alphabet[(group >> 18) & 0x3f];
        text += alphabet[(group >> 12) & 0x3f];
        text += left > 1 ? alphabet[(group >> 6) & 0x3f] : '=';
        text += left > 2 ? alphabet[group & 0x3f] : '=';
    }
    return text;
}

std::string Base64(std::string_view bytes) {
    return Base64(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace vanmoor::onvif
