#include "SafeText.h"

#include "Utf8Text.h"

#include <cstdio>

namespace vanmoor::listing {

namespace {

std::string Hex(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Unicode's format characters (category Cf): invisible, yet they reorder or join what follows,
// so a device name could rearrange the columns after it.
bool IsFormatCharacter(char32_t c) {
    struct Range {
        char32_t first, last;
    };
    static constexpr Range kFormat[] = {
        {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
        {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
        {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
        {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
        {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
        {0xE0020, 0xE007F},
    };
    for (const Range& range : kFormat) {
        if (c >= range.first && c <= range.last) {
            return true;
        }
    }
    return false;
}

// The character that starts at `text[i]` of well-formed UTF-8, and how many bytes it takes.
char32_t DecodeAt(const std::string& text, std::size_t i, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[i]);
    length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    return c;
}

} // namespace

std::string JsonString(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : settings::ValidUtf8(bytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += Hex("\\u%04x", byte);
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string TerminalText(std::string_view bytes) {
    const std::string text = settings::ValidUtf8(bytes);
    std::string out;
    for (std::size_t i = 0, length = 1; i < text.size(); i += length) {
        const char32_t c = DecodeAt(text, i, length);
        if (c < 0x20 || c == 0x7F) {
            out += Hex("\\x%02x", c);
        } else if ((c >= 0x80 && c <= 0x9F) || (c <= 0xFFFF && IsFormatCharacter(c))) {
            out += Hex("\\u%04x", c);
        } else if (IsFormatCharacter(c)) {
            out += Hex("\\U%08x", c);
        } else {
            out.append(text, i, length);
        }
    }
    return out;
}

std::size_t DisplayLength(std::string_view utf8) {
    std::size_t length = 0;
    for (const char c : utf8) {
        length += IsContinuation(c) ? 0 : 1;
    }
    return length;
}

std::string CsvCell(std::string_view bytes) {
    const std::string valid = settings::ValidUtf8(bytes);
    const bool formulaLike =
        !valid.empty() && std::string_view("=+-@\t\r").find(valid.front()) != std::string::npos;
    const std::string text = formulaLike ? std::string(1, '\'') + valid : valid;
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

} // namespace vanmoor::listing
