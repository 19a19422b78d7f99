#include "AddressText.h"

#include "DecimalText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vanmoor::settings {

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

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
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

std::string DottedText(const Ipv4Octets& octets) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", octets[0], octets[1], octets[2], octets[3]);
    return text;
}

std::optional<Ipv4Octets> ParseDottedAddress(std::string_view text) {
    Ipv4Octets octets{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.') {
                return std::nullopt;
            }
            ++pos;
        }
        const std::size_t start = pos;
        int value = 0;
        while (pos < text.size() && pos - start < 3 && text[pos] >= '0' && text[pos] <= '9') {
            value = value * 10 + (text[pos++] - '0');
        }
        if (pos == start || value > 255) {
            return std::nullopt;
        }
        octets[i] = static_cast<std::uint8_t>(value);
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return octets;
}

std::optional<MacBytes> ParseMacText(std::string_view text) {
    constexpr std::size_t kLength = 17; // six pairs and five separators
    if (text.size() != kLength) {
        return std::nullopt;
    }
    MacBytes mac{};
    for (std::size_t i = 0; i < mac.size(); ++i) {
        const std::size_t at = i * 3;
        const int high = HexDigit(text[at]);
        const int low = HexDigit(text[at + 1]);
        const bool separatorOk = i == 5 || text[at + 2] == ':' || text[at + 2] == '-';
        if (high < 0 || low < 0 || !separatorOk) {
            return std::nullopt;
        }
        mac[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return mac;
}

// A URI scheme: a letter, then letters, digits, '+', '-' or '.', then ':' and more.
bool IsEndpointReference(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size() ||
        !std::isalpha(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon),
                       [](unsigned char c) {
                           return std::isalnum(c) || c == '+' || c == '-' || c == '.';
                       }) &&
           !ParseMacText(text);
}

} // namespace vanmoor::settings
