#include "LanguageLoader.h"

#include "ProfileFile.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace kestrun {

namespace {

constexpr std::u16string_view kSection = u"LANGUAGE";

constexpr std::pair<ControlId, UiText> kControlTexts[] = {
    {ControlId::StaticRadio, UiText::Static},
    {ControlId::DhcpRadio, UiText::Dhcp},
    {ControlId::SearchButton, UiText::SearchDevice},
    {ControlId::SubmitButton, UiText::Submit},
    {ControlId::Exit, UiText::Exit},
    {ControlId::DeviceListsLabel, UiText::DeviceLists},
    {ControlId::NameLabel, UiText::Name},
    {ControlId::IpLabel, UiText::Ip},
    {ControlId::NetmaskLabel, UiText::Netmask},
    {ControlId::GatewayLabel, UiText::Gateway},
    {ControlId::Dns1Label, UiText::Dns1},
    {ControlId::Dns2Label, UiText::Dns2},
    {ControlId::PortLabel, UiText::Port1},
    {ControlId::MacLabel, UiText::Mac},
};

constexpr UiText kHelpLines[] = {UiText::HelpLine1, UiText::HelpLine2, UiText::HelpLine3,
                                 UiText::HelpLine4, UiText::HelpLine5, UiText::HelpLine6};

} // namespace

LanguageLoader::LanguageLoader(UiTextTable& texts, ExtraTextTable& extraTexts,
                               ControlTextSink& controls)
    : m_Texts(texts), m_ExtraTexts(extraTexts), m_Controls(controls) {}

bool LanguageLoader::Apply() {
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    if (error) {
        return false;
    }
    const std::filesystem::path path = directory / kFileName;
    if (!std::ifstream(path).is_open()) {
        return false;
    }
    const ProfileFile profile = ProfileFile::Load(path);
    for (std::size_t i = 0; i < kUiTextCount; ++i) {
        const auto entry = static_cast<UiText>(i);
        LookupText(entry, UiTextTable::UsesUnderscoreKey(entry), profile);
    }
    LookupExtraTexts(profile);
    SetControlTexts();
    return true;
}

void LanguageLoader::LookupText(UiText entry, bool underscoreKey, const ProfileFile& profile) {
    const std::u16string& current = m_Texts.Text(entry);
    const std::u16string key = underscoreKey ? MakeIniKey(current) : current;
    std::optional<std::u16string> value = profile.Value(kSection, key);
    if (value && !value->empty()) {
        m_Texts.Replace(entry, std::move(*value));
    }
}

void LanguageLoader::LookupExtraTexts(const ProfileFile& profile) {
    for (std::size_t i = 0; i < kExtraTextCount; ++i) {
        const auto entry = static_cast<ExtraText>(i);
        std::optional<std::u16string> value =
            profile.Value(kSection, MakeIniKey(ExtraTextTable::DefaultText(entry)));
        if (value && !value->empty()) {
            m_ExtraTexts.Replace(entry, std::move(*value));
        }
    }
    for (std::size_t i = 0; i < vanmoor::commission::kMessagePatternCount; ++i) {
        const auto pattern = static_cast<vanmoor::commission::MessagePattern>(i);
        std::optional<std::u16string> value =
            profile.Value(kSection, MakeIniKey(ExtraTextTable::DefaultPattern(pattern)));
        if (value && !value->empty()) {
            m_ExtraTexts.ReplacePattern(pattern, std::move(*value));
        }
    }
}

void LanguageLoader::SetControlTexts() {
    for (const auto& [control, entry] : kControlTexts) {
        m_Controls.SetControlText(control, m_Texts.Text(entry));
    }
    std::u16string help;
    for (const UiText line : kHelpLines) {
        help += m_Texts.Text(line);
        help += u'\n';
    }
    m_Controls.SetControlText(ControlId::HelpText, help);
}

} // namespace kestrun
