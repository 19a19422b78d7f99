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

void AssignTableRows::ShowPlan(const std::vector<PlannedDevice>& plan) {
    m_Macs.clear();
    m_Rows.clear();
    for (const PlannedDevice& planned : plan) {
        m_Macs.push_back(planned.device.MacOrZero());
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
}

std::optional<std::size_t> AssignTableRows::ShowOutcome(const AssignOutcome& outcome) {
    const auto found = std::find(m_Macs.begin(), m_Macs.end(), outcome.planned.device.MacOrZero());
    if (found == m_Macs.end()) {
        return std::nullopt;
    }
    const auto row = static_cast<std::size_t>(found - m_Macs.begin());
    m_Rows[row][Slot(AssignColumn::Result)] = m_Texts.Text(ResultTextEntry(outcome.result));
    m_Rows[row][Slot(AssignColumn::Final)] =
        outcome.finalAddress ? Dotted(*outcome.finalAddress) : std::u16string();
    return row;
}

const std::u16string& AssignTableRows::Cell(std::size_t row, AssignColumn column) const {
    return m_Rows.at(row).at(Slot(column));
}

} // namespace kestrun
