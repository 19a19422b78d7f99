#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrun {

// A reader of Windows profile ("ini") files that answers as the Windows profile functions do:
//  - "[section]" lines open a section; "key=value" lines belong to the last section opened;
//  - section and key names compare without regard to ASCII case;
//  - blanks around names and values are trimmed, then one pair of enclosing double quotes is
//    removed from a value;
//  - lines whose first non-blank character is ";" are comments; lines without "=" are ignored;
//  - the first matching key wins;
//  - the file is UTF-8 (with or without byte order mark) or UTF-16LE with byte order mark;
//  - values are cut to 299 UTF-16 units, never inside a surrogate pair.
class ProfileFile {
public:
    static constexpr std::size_t kMaxValueUnits = 299;

    // An unreadable file reads as an empty one.
    static ProfileFile Load(const std::filesystem::path& path);
    static ProfileFile FromBytes(std::string_view bytes);

    // The value of `key` in `section`, nothing when the file has no such key.
    std::optional<std::u16string> Value(std::u16string_view section, std::u16string_view key) const;

private:
    struct Entry {
        std::u16string section;
        std::u16string key;
        std::u16string value;
    };

    static std::u16string DecodeText(std::string_view bytes);
    void ParseLine(std::u16string_view line, std::u16string& section);

    std::vector<Entry> m_Entries;
};

} // namespace kestrun
