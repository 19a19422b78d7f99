#include "ProfileFile.h"

#include "SharedSettings.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace kestrun {

namespace {

char16_t FoldAsciiCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}

std::u16string_view WithoutEnclosingQuotes(std::u16string_view value) {
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

std::u16string CutToUnits(std::u16string_view value, std::size_t maxUnits) {
    if (value.size() <= maxUnits) {
        return std::u16string(value);
    }
    std::size_t length = maxUnits;
    if (length > 0 && IsHighSurrogate(value[length - 1])) {
        --length;
    }
    return std::u16string(value.substr(0, length));
}

} // namespace

ProfileFile ProfileFile::Load(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return FromBytes(bytes);
}

ProfileFile ProfileFile::FromBytes(std::string_view bytes) {
    ProfileFile profile;
    const std::u16string text = DecodeText(bytes);
    std::u16string section;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) {
            end = text.size();
        }
        profile.ParseLine(std::u16string_view(text).substr(start, end - start), section);
        start = end + 1;
    }
    return profile;
}

std::u16string ProfileFile::DecodeText(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        return text;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    // Zero bytes would end the text early; a profile file holds none.
    std::string withoutZeros(bytes);
    std::erase(withoutZeros, '\0');
    return Utf16FromUtf8(withoutZeros);
}

void ProfileFile::ParseLine(std::u16string_view line, std::u16string& section) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == u';') {
        return;
    }
    if (line.front() == u'[') {
        const std::size_t close = line.find(u']');
        section =
            TrimBlanks(line.substr(1, close == std::u16string_view::npos ? line.npos : close - 1));
        return;
    }
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) {
        return;
    }
    m_Entries.push_back(Entry{
        .section = section,
        .key = std::u16string(TrimBlanks(line.substr(0, equals))),
        .value =
            CutToUnits(WithoutEnclosingQuotes(TrimBlanks(line.substr(equals + 1))), kMaxValueUnits),
    });
}

std::optional<std::u16string> ProfileFile::Value(std::u16string_view section,
                                                 std::u16string_view key) const {
    for (const Entry& entry : m_Entries) {
        if (EqualIgnoringCase(entry.section, section) && EqualIgnoringCase(entry.key, key)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

} // namespace kestrun
