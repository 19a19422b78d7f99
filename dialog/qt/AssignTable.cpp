#include "AssignTable.h"

#include "SharedSettings.h"

#include <QHeaderView>

#include <algorithm>

namespace kestrun {

namespace {

enum Column {
    kMac,
    kName,
    kCurrent,
    kPlanned,
    kPlannedName,
    // Everything else the command sends, so that nothing goes out unseen.
    kNetmask,
    kGateway,
    kDns1,
    kDns2,
    kResult,
    kFinal,
    kColumns
};

QString Dotted(const Ipv4Octets& address) {
    return QString::fromStdString(vanmoor::settings::DottedText(address));
}

ExtraText ResultText(vanmoor::commission::AssignResult result) {
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
    case AssignResult::FailedToSend:
        break;
    }
    return ExtraText::ResultFailedToSend;
}

} // namespace

AssignTable::AssignTable(const UiTextTable& texts, const ExtraTextTable& extraTexts,
                         QWidget* parent)
    : QTableWidget(0, kColumns, parent), m_ExtraTexts(extraTexts) {
    QStringList headings;
    for (const std::u16string* text :
         {&texts.Text(UiText::Mac), &texts.Text(UiText::Name),
          &extraTexts.Text(ExtraText::AssignCurrentAddress),
          &extraTexts.Text(ExtraText::AssignPlannedAddress),
          &extraTexts.Text(ExtraText::AssignPlannedName), &texts.Text(UiText::Netmask),
          &texts.Text(UiText::Gateway), &texts.Text(UiText::Dns1), &texts.Text(UiText::Dns2),
          &extraTexts.Text(ExtraText::AssignResult),
          &extraTexts.Text(ExtraText::AssignFinalAddress)}) {
        headings << QString::fromStdU16String(*text);
    }
    setHorizontalHeaderLabels(headings);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setColumnHidden(kResult, true);
    setColumnHidden(kFinal, true);
}

void AssignTable::SetCell(int row, int column, const QString& text) {
    setItem(row, column, new QTableWidgetItem(text));
}

void AssignTable::ShowPlan(const std::vector<vanmoor::commission::PlannedDevice>& plan) {
    m_RowMacs.clear();
    setRowCount(static_cast<int>(plan.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const auto& planned = plan[static_cast<std::size_t>(row)];
        m_RowMacs.push_back(planned.device.MacOrZero());
        SetCell(row, kMac,
                QString::fromStdString(MacColonText(planned.device.MacOrZero())).toUpper());
        SetCell(row, kName, QString::fromUtf8(planned.device.name));
        SetCell(row, kCurrent, Dotted(planned.device.ip));
        SetCell(row, kPlanned, Dotted(planned.ip));
        SetCell(row, kPlannedName, QString::fromUtf8(planned.name));
        SetCell(row, kNetmask, Dotted(planned.netmask));
        SetCell(row, kGateway, Dotted(planned.gateway));
        SetCell(row, kDns1, Dotted(planned.dns1));
        SetCell(row, kDns2, Dotted(planned.dns2));
    }
}

void AssignTable::ShowOutcome(const vanmoor::commission::AssignOutcome& outcome) {
    setColumnHidden(kResult, false);
    setColumnHidden(kFinal, false);
    const auto found =
        std::find(m_RowMacs.begin(), m_RowMacs.end(), outcome.planned.device.MacOrZero());
    if (found == m_RowMacs.end()) {
        return;
    }
    const int row = static_cast<int>(found - m_RowMacs.begin());
    SetCell(row, kResult, QString::fromStdU16String(m_ExtraTexts.Text(ResultText(outcome.result))));
    SetCell(row, kFinal, outcome.finalAddress ? Dotted(*outcome.finalAddress) : QString());
}

} // namespace kestrun
