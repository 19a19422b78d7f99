#include "AddressText.h"

#include <charconv>
#include <cstdio>

namespace vanmoor::devsim {

namespace {

// Reads N numbers of at most `maxDigits` digits each, parted by one of the separators.
template <std::size_t N>
std::optional<std::array<std::uint8_t, N>>
ParseParts(std::string_view text, int base, std::size_t maxDigits, std::string_view separators) {
    std::array<std::uint8_t, N> parts{};
    const char* cursor = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) {
            if (cursor == end || separators.find(*cursor) == std::string_view::npos) {
                return std::nullopt;
            }
            ++cursor;
        }
        unsigned value = 0;
        const auto [next, error] = std::from_chars(cursor, end, value, base);
        if (error != std::errc() || next == cursor ||
            static_cast<std::size_t>(next - cursor) > maxDigits || value > 255) {
            return std::nullopt;
        }
        parts[i] = static_cast<std::uint8_t>(value);
        cursor = next;
    }
    if (cursor != end) {
        return std::nullopt;
    }
    return parts;
}

} // namespace

std::optional<Ipv4> ParseIpv4(std::string_view text) {
    return ParseParts<4>(text, 10, 3, ".");
}

std::optional<Mac> ParseMac(std::string_view text) {
    return ParseParts<6>(text, 16, 2, ":-");
}

std::string FormatIpv4(const Ipv4& address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
    return text;
}

std::string FormatMac(const Mac& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

} // namespace vanmoor::devsim
