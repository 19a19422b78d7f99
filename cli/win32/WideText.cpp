#include "WideText.h"

#include "Utf8Text.h"

#include <limits>

namespace vanmoor::cli {

// wchar_t is a UTF-16 unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::string Utf8FromWide(std::wstring_view text) {
    return settings::Utf8FromUtf16(std::u16string(text.begin(), text.end()),
                                   std::numeric_limits<std::size_t>::max());
}

std::wstring WideFromUtf8(std::string_view text) {
    const std::u16string units = settings::Utf16FromUtf8(text);
    return std::wstring(units.begin(), units.end());
}

} // namespace vanmoor::cli
