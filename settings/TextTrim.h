#pragma once

#include <string_view>

namespace vanmoor::settings {

// `text` without the spaces and tabs around it.
inline std::u16string_view TrimBlanks(std::u16string_view text) {
    const auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace vanmoor::settings
