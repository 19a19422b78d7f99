#pragma once

#include "DeviceList.h"
#include "KeyedFindings.h"
#include "RowFindings.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

namespace kestrun::win32 {

// The virtual report list (LVS_OWNERDATA) over the controller's DeviceList: the cells are read
// from the rows when the control draws them; rows with an error-level finding are marked by
// colour and a text marker, and every finding shows as the row's tool tip.
class DeviceListView {
public:
    DeviceListView(HWND list, const DeviceList& rows);

    // Headings and widths of the three columns: the hidden number column, name and address.
    void SetColumns(const std::u16string& nameHeading, const std::u16string& addressHeading);
    void ShowRows(const std::vector<RowFinding>& findings);
    void Reorder(const std::function<void()>& reorder);

    int CurrentRow() const;
    void SetCurrentRow(std::size_t row);
    void MarkRowForMenu(std::size_t row);
    std::vector<std::size_t> SelectedRows() const;

    // Notifications of the list that the view answers itself.
    void OnGetDispInfo(NMLVDISPINFOW& info) const;
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    void OnGetInfoTip(NMLVGETINFOTIPW& tip) const;

    // Put before the name of a row with an error-level finding.
    static constexpr const wchar_t* kErrorMarker = L"(!) ";

private:
    const RowFinding* FindingOf(std::size_t row) const;
    void SelectOnly(std::size_t row);

    HWND m_List;
    const DeviceList& m_Rows;
    KeyedFindings m_Findings;
};

} // namespace kestrun::win32
