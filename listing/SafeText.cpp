#include "SafeText.h"

#include "Utf8Text.h"

#include <cstdio>

namespace vanmoor::listing {

namespace {

std::string Hex(const char* format, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
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
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        if (byte < 0x20 || byte == 0x7F) {
            out += Hex("\\x%02x", byte);
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += Hex("\\u%04x", next); // a C1 control, U+0080..U+009F
            ++i;
        } else {
            out += text[i];
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
