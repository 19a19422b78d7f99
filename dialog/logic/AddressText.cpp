#include "AddressText.h"

#include "DecimalText.h"

#include <cstdio>

namespace kestrun {

namespace {

template <std::size_t N>
std::array<std::uint8_t, N> NumbersAfterSeparators(std::string_view text, char separator) {
    std::array<std::uint8_t, N> numbers{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) {
            const std::size_t found = text.find(separator, start);
            if (found == std::string_view::npos) {
                break;
            }
            start = found + 1;
        }
        numbers[i] = static_cast<std::uint8_t>(LeadingDecimal(text.substr(start)) & 0xFF);
    }
    return numbers;
}

} // namespace

Ipv4Octets OctetsFromDottedText(std::string_view text) {
    return NumbersAfterSeparators<4>(text, '.');
}

MacBytes MacFromDashedText(std::string_view text) {
    return NumbersAfterSeparators<6>(text, '-');
}

std::string MacColonText(const MacBytes& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

} // namespace kestrun
