#pragma once

#include "AssignView.h"
#include "ExtraTextTable.h"
#include "UiTextTable.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestrun {

// The columns of the assign dialog's table, in the order every front end shows them.
enum class AssignColumn : std::size_t {
    Mac,
    Name,
    Current,
    Planned,
    PlannedName,
    // Everything else the command sends, so that nothing goes out unseen.
    Netmask,
    Gateway,
    Dns1,
    Dns2,
    // Filled in as the batch reports.
    Result,
    Final,
    Count, // not a column
};

inline constexpr std::size_t kAssignColumnCount = static_cast<std::size_t>(AssignColumn::Count);
// The first column that stays hidden until the batch reports.
inline constexpr AssignColumn kFirstResultColumn = AssignColumn::Result;

using AssignRowTexts = std::array<std::u16string, kAssignColumnCount>;

AssignRowTexts AssignHeadings(const UiTextTable& texts, const ExtraTextTable& extraTexts);

// The entry that names a device's result.
ExtraText ResultTextEntry(vanmoor::commission::AssignResult result);

// The texts of the assign dialog's table: the plan, one row a device, and then the batch's result
// and the address last seen for each. Names come from the network and stay plain text.
class AssignTableRows {
public:
    explicit AssignTableRows(const ExtraTextTable& texts) : m_Texts(texts) {}

    // One row per planned device, the result columns empty, then one per camera left out (not
    // read: no MAC, nothing planned).
    void ShowPlan(const std::vector<PlannedDevice>& plan, const std::vector<SiteDevice>& leftOut);
    // Fills the result columns of the outcome's device; its row, none when no row has it.
    std::optional<std::size_t> ShowOutcome(const AssignOutcome& outcome);

    std::size_t RowCount() const { return m_Rows.size(); }
    const std::u16string& Cell(std::size_t row, AssignColumn column) const;

private:
    const ExtraTextTable& m_Texts;
    std::vector<SiteDevice> m_Devices; // each row's, as planned
    std::vector<AssignRowTexts> m_Rows;
};

} // namespace kestrun
