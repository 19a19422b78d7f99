#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kestrun {

// The replaceable user-interface texts, in the order the language file is read.
enum class UiText : std::size_t {
    DeviceLists,
    ServerName,
    IpAddress,
    Static,
    Dhcp,
    Name,
    Ip,
    Netmask,
    Gateway,
    Dns1,
    Dns2,
    Port1,
    Mac,
    SearchDevice,
    Submit,
    Exit,
    HelpLine1,
    HelpLine2,
    HelpLine3,
    HelpLine4,
    HelpLine5,
    HelpLine6,
    Rebooting,
    NoMatch,
    SelectAll,
    CheckNetworkCard,
    Searching,
};

inline constexpr std::size_t kUiTextCount = static_cast<std::size_t>(UiText::Searching) + 1;

// The 27 texts of the dialog that a language file may replace, holding the built-in English
// defaults until then.
class UiTextTable {
public:
    UiTextTable();

    const std::u16string& Text(UiText entry) const;
    void Replace(UiText entry, std::u16string text);

    // True for the entries whose language file key is MakeIniKey() of the text; the others use
    // the text itself (they hold no spaces, so both rules give the same key).
    static bool UsesUnderscoreKey(UiText entry);

private:
    std::array<std::u16string, kUiTextCount> m_Texts;
};

// `text` with every space replaced by "_": the key of an entry in the language file.
std::u16string MakeIniKey(std::u16string_view text);

} // namespace kestrun
