#include "AssignTableRows.h"

#include "SharedSettings.h"

#include <algorithm>

namespace kestrun {

namespace {

std::u16string Dotted(const Ipv4Octets& address) {
    return Utf16FromAscii(vanmoor::settings::DottedText(address));
}

// The MAC as the main window's field shows it.
std::u16string UpperMacText(const MacBytes& mac) {
    std::u16string text = Utf16FromAscii(MacColonText(mac));
    std::transform(text.begin(), text.end(), text.begin(), [](char16_t unit) {
        return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
    });
    return text;
}

std::size_t Slot(AssignColumn column) {
    return static_cast<std::size_t>(column);
}

// A device by its MAC; a camera not read has none, and is known by its endpoint reference.
bool SameDevice(const SiteDevice& a, const SiteDevice& b) {
    if (a.mac || b.mac) {
        return a.mac == b.mac;
    }
    return a.wsd && b.wsd && a.wsd->endpoint == b.wsd->endpoint && a.ip == b.ip;
}

} // namespace

AssignRowTexts AssignHeadings(const UiTextTable& texts, const ExtraTextTable& extraTexts) {
    return {texts.Text(UiText::Mac),
            texts.Text(UiText::Name),
            extraTexts.Text(ExtraText::AssignCurrentAddress),
            extraTexts.Text(ExtraText::AssignPlannedAddress),
            extraTexts.Text(ExtraText::AssignPlannedName),
            texts.Text(UiText::Netmask),
            texts.Text(UiText::Gateway),
            texts.Text(UiText::Dns1),
            texts.Text(UiText::Dns2),
            extraTexts.Text(ExtraText::AssignResult),
            extraTexts.Text(ExtraText::AssignFinalAddress)};
}

ExtraText ResultTextEntry(vanmoor::commission::AssignResult result) {
    using vanmoor::commission::AssignResult;
    switch (result) {
    case AssignResult::Changed:
        return ExtraText::ResultChanged;
    case AssignResult::Unchanged:
        return ExtraText::ResultUnchanged;
    case AssignResult::NotFound:
        return ExtraText::ResultNotFound;
    case AssignResult::Refused:
        return ExtraText::ResultRefused;
    case AssignResult::Kept:
        return ExtraText::ResultKept;
    case AssignResult::FailedToSend:
        break;
    }
    return ExtraText::ResultFailedToSend;
}

void AssignTableRows::ShowPlan(const std::vector<PlannedDevice>& plan,
                               const std::vector<SiteDevice>& leftOut) {
    m_Devices.clear();
    m_Rows.clear();
    for (const PlannedDevice& planned : plan) {
        m_Devices.push_back(planned.device);
        m_Rows.push_back({UpperMacText(planned.device.MacOrZero()),
                          Utf16FromUtf8(planned.device.name),
                          Dotted(planned.device.ip),
                          Dotted(planned.ip),
                          Utf16FromUtf8(planned.name),
                          Dotted(planned.netmask),
                          Dotted(planned.gateway),
                          Dotted(planned.dns1),
                          Dotted(planned.dns2),
                          {},
                          {}});
    }
    for (const SiteDevice& camera : leftOut) {
        m_Devices.push_back(camera);
        AssignRowTexts row;
        row[Slot(AssignColumn::Name)] = Utf16FromUtf8(camera.name);
        row[Slot(AssignColumn::Current)] = Dotted(camera.ip);
        m_Rows.push_back(std::move(row));
    }
}

std::optional<std::size_t> AssignTableRows::ShowOutcome(const AssignOutcome& outcome) {
    const auto found =
        std::find_if(m_Devices.begin(), m_Devices.end(), [&](const SiteDevice& device) {
            return SameDevice(device, outcome.planned.device);
        });
    if (found == m_Devices.end()) {
        return std::nullopt;
    }
    const auto row = static_cast<std::size_t>(found - m_Devices.begin());
    m_Rows[row][Slot(AssignColumn::Result)] = m_Texts.Text(ResultTextEntry(outcome.result));
    m_Rows[row][Slot(AssignColumn::Final)] =
        outcome.finalAddress ? Dotted(*outcome.finalAddress) : std::u16string();
    return row;
}

const std::u16string& AssignTableRows::Cell(std::size_t row, AssignColumn column) const {
    return m_Rows.at(row).at(Slot(column));
}

} // namespace kestrun
