#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vanmoor::settings {

// Conversions between the library's 8-bit UTF-8 texts and the programs' texts. Malformed input
// becomes U+FFFD, one per offending byte or lone surrogate.

// Decodes `bytes` up to the first zero byte.
std::u16string Utf16FromUtf8(std::string_view bytes);

// Encodes `text`, keeping only the whole characters that fit in `maxBytes`: a text is never cut
// inside a character.
std::string Utf8FromUtf16(std::u16string_view text, std::size_t maxBytes);

// `bytes` as well-formed UTF-8: every malformed byte replaced by U+FFFD, zero bytes kept.
std::string ValidUtf8(std::string_view bytes);

// ASCII text (addresses, numbers) widened unit by unit.
std::u16string Utf16FromAscii(std::string_view text);

} // namespace vanmoor::settings
