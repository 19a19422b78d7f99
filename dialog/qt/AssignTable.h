#pragma once

#include "AssignTableRows.h"
#include "ExtraTextTable.h"
#include "UiTextTable.h"

#include <QTableWidget>

#include <vector>

namespace kestrun {

// The assign dialog's table: the plan, one row a device, and then the batch's result and the
// address last seen for each. Every cell is plain text; names come from the network.
class AssignTable : public QTableWidget {
public:
    AssignTable(const UiTextTable& texts, const ExtraTextTable& extraTexts, QWidget* parent);

    // One row per planned device, the result columns hidden.
    void ShowPlan(const std::vector<vanmoor::commission::PlannedDevice>& plan,
                  const std::vector<vanmoor::commission::SiteDevice>& leftOut);
    // Shows the result columns and fills them in the row of the outcome's device.
    void ShowOutcome(const vanmoor::commission::AssignOutcome& outcome);

private:
    void SetCell(std::size_t row, AssignColumn column);
    void ShowResultColumns(bool visible);

    AssignTableRows m_Rows;
};

} // namespace kestrun
