#include "UiTextTable.h"

#include <algorithm>

namespace kestrun {

namespace {

constexpr std::array<std::u16string_view, kUiTextCount> kDefaults = {
    u"Device Lists",
    u"Server Name",
    u"IP Address",
    u"Static",
    u"DHCP",
    u"Name",
    u"IP",
    u"Netmask",
    u"Gateway",
    u"DNS 1",
    u"DNS 2",
    u"Port1",
    u"MAC",
    u"Search Device",
    u"Submit",
    u"Exit",
    u"To Change Device Name, IP address, and Gateway:",
    u"1. Select the device on the left side.",
    u"2. Change network parameter on the right side.",
    u"3. Press Submit button.",
    u"4. Press Search Device to re-search again.",
    u"5. Double click the device to open it.",
    u"Rebooting..,Please wait",
    u"No Match, IP and GateWay. Are you continued?",
    u"Select All",
    u"Please check the network card settings!",
    u"Searching.....",
};

std::size_t Slot(UiText entry) {
    return static_cast<std::size_t>(entry);
}

} // namespace

UiTextTable::UiTextTable() {
    std::copy(kDefaults.begin(), kDefaults.end(), m_Texts.begin());
}

const std::u16string& UiTextTable::Text(UiText entry) const {
    return m_Texts.at(Slot(entry));
}

void UiTextTable::Replace(UiText entry, std::u16string text) {
    m_Texts.at(Slot(entry)) = std::move(text);
}

bool UiTextTable::UsesUnderscoreKey(UiText entry) {
    switch (entry) {
    case UiText::Static:
    case UiText::Dhcp:
    case UiText::Name:
    case UiText::Ip:
    case UiText::Netmask:
    case UiText::Gateway:
    case UiText::Port1:
    case UiText::Mac:
    case UiText::Submit:
    case UiText::Exit:
        return false;
    default:
        return true;
    }
}

std::u16string MakeIniKey(std::u16string_view text) {
    std::u16string key(text);
    std::replace(key.begin(), key.end(), u' ', u'_');
    return key;
}

} // namespace kestrun
