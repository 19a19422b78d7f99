#include "Utf8Text.h"

namespace vanmoor::settings {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Reads one character at `bytes[pos]`; advances `pos` past it, or past one byte when malformed.
char32_t DecodeOne(std::string_view bytes, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > bytes.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[pos + i]);
        if (!IsContinuation(next)) {
            ++pos;
            return kReplacement;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return code;
}

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

// Reads one character at `text[pos]`; a lone surrogate reads as U+FFFD.
char32_t ReadUtf16(std::u16string_view text, std::size_t& pos) {
    const char16_t unit = text[pos++];
    if (unit >= 0xD800 && unit <= 0xDBFF && pos < text.size() && text[pos] >= 0xDC00 &&
        text[pos] <= 0xDFFF) {
        return 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[pos++] - 0xDC00);
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        return kReplacement;
    }
    return unit;
}

std::string EncodeUtf8(char32_t code) {
    std::string out;
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return out;
}

} // namespace

std::u16string Utf16FromUtf8(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::u16string out;
    for (std::size_t pos = 0; pos < bytes.size();) {
        AppendUtf16(out, DecodeOne(bytes, pos));
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view text, std::size_t maxBytes) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::string character = EncodeUtf8(ReadUtf16(text, pos));
        if (out.size() + character.size() > maxBytes) {
            break;
        }
        out += character;
    }
    return out;
}

std::string ValidUtf8(std::string_view bytes) {
    std::string out;
    for (std::size_t pos = 0; pos < bytes.size();) {
        out += EncodeUtf8(DecodeOne(bytes, pos));
    }
    return out;
}

std::u16string Utf16FromAscii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace vanmoor::settings
