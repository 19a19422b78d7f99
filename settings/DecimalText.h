#pragma once

#include <climits>
#include <cstddef>
#include <string_view>

namespace vanmoor::settings {

// The decimal number at the start of `text` as the C library's atoi reads it (leading blanks,
// an optional sign, digits); 0 when there is none. Clamped to the range of int.
template <typename Char> int LeadingDecimal(std::basic_string_view<Char> text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace vanmoor::settings
