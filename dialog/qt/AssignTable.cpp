#include "AssignTable.h"

#include <QHeaderView>

namespace kestrun {

AssignTable::AssignTable(const UiTextTable& texts, const ExtraTextTable& extraTexts,
                         QWidget* parent)
    : QTableWidget(0, static_cast<int>(kAssignColumnCount), parent), m_Rows(extraTexts) {
    QStringList headings;
    for (const std::u16string& text : AssignHeadings(texts, extraTexts)) {
        headings << QString::fromStdU16String(text);
    }
    setHorizontalHeaderLabels(headings);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ShowResultColumns(false);
}

void AssignTable::ShowResultColumns(bool visible) {
    for (auto column = static_cast<int>(kFirstResultColumn);
         column < static_cast<int>(kAssignColumnCount); ++column) {
        setColumnHidden(column, !visible);
    }
}

void AssignTable::SetCell(std::size_t row, AssignColumn column) {
    setItem(static_cast<int>(row), static_cast<int>(column),
            new QTableWidgetItem(QString::fromStdU16String(m_Rows.Cell(row, column))));
}

void AssignTable::ShowPlan(const std::vector<vanmoor::commission::PlannedDevice>& plan,
                           const std::vector<vanmoor::commission::SiteDevice>& leftOut) {
    m_Rows.ShowPlan(plan, leftOut);
    setRowCount(static_cast<int>(m_Rows.RowCount()));
    for (std::size_t row = 0; row < m_Rows.RowCount(); ++row) {
        for (std::size_t column = 0; column < static_cast<std::size_t>(kFirstResultColumn);
             ++column) {
            SetCell(row, static_cast<AssignColumn>(column));
        }
    }
}

void AssignTable::ShowOutcome(const vanmoor::commission::AssignOutcome& outcome) {
    ShowResultColumns(true);
    if (const std::optional<std::size_t> row = m_Rows.ShowOutcome(outcome)) {
        SetCell(*row, AssignColumn::Result);
        SetCell(*row, AssignColumn::Final);
    }
}

} // namespace kestrun
