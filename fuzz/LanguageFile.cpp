// Fuzz target: a language file's bytes, read as the dialog reads "Language.ini": every text of
// the dialog looked up, then turned into UTF-8 for the library at the sizes it takes.
#include "FuzzCheck.h"

#include "ProfileFile.h"
#include "UiTextTable.h"
#include "Utf8Text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

std::u16string Lowercase(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return text;
}

// A cut UTF-8 text decodes to the start of the whole text: it was cut between characters.
void CheckCut(const std::u16string& value, std::size_t maxBytes) {
    using vanmoor::fuzz::Require;
    const std::string whole = vanmoor::settings::Utf8FromUtf16(value, SIZE_MAX);
    const std::string cut = vanmoor::settings::Utf8FromUtf16(value, maxBytes);
    Require(cut.size() <= maxBytes, "UTF-8 text within its size");
    Require(whole.starts_with(cut), "a cut text is the start of the whole one");
    Require(
        vanmoor::settings::Utf16FromUtf8(whole).starts_with(vanmoor::settings::Utf16FromUtf8(cut)),
        "a text is never cut inside a character");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vanmoor::fuzz::Require;
    const kestrun::ProfileFile profile = kestrun::ProfileFile::FromBytes(
        std::string_view(reinterpret_cast<const char*>(data), size));
    const kestrun::UiTextTable defaults;
    for (std::size_t i = 0; i < kestrun::kUiTextCount; ++i) {
        const auto entry = static_cast<kestrun::UiText>(i);
        const std::u16string& text = defaults.Text(entry);
        const std::u16string key =
            kestrun::UiTextTable::UsesUnderscoreKey(entry) ? kestrun::MakeIniKey(text) : text;
        const auto value = profile.Value(u"LANGUAGE", key);
        Require(profile.Value(u"language", Lowercase(key)) == value,
                "names compare without regard to case");
        if (value) {
            Require(value->size() <= kestrun::ProfileFile::kMaxValueUnits,
                    "value within 299 units");
            CheckCut(*value, 32);
            CheckCut(*value, 18);
        }
    }
    return 0;
}
