#include "DeviceListView.h"

#include "DpiScale.h"
#include "RowsThroughSort.h"
#include "WideText.h"

#include <algorithm>
#include <cwchar>
#include <string>

namespace kestrun::win32 {

namespace {
constexpr COLORREF kErrorBackground = RGB(255, 214, 214);
constexpr COLORREF kErrorText = RGB(0, 0, 0);

void CopyText(const std::wstring& text, wchar_t* out, int size) {
    if (out != nullptr && size > 0) {
        const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::wmemcpy(out, text.data(), count);
        out[count] = L'\0';
    }
}
} // namespace

DeviceListView::DeviceListView(HWND list, const DeviceList& rows) : m_List(list), m_Rows(rows) {
    ListView_SetExtendedListViewStyle(m_List, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
}

void DeviceListView::SetColumns(const std::u16string& nameHeading,
                                const std::u16string& addressHeading) {
    while (ListView_DeleteColumn(m_List, 0)) {
    }
    RECT outer{};
    GetWindowRect(m_List, &outer);
    const int width = outer.right - outer.left;
    const std::u16string headings[] = {u"", nameHeading, addressHeading};
    const int widths[] = {0, width / 2 + ScaledPixels(m_List, 22),
                          width / 2 - ScaledPixels(m_List, 28)};
    for (int column = 0; column < DeviceList::kColumnCount; ++column) {
        LVCOLUMNW format{};
        format.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        format.fmt = LVCFMT_LEFT;
        format.cx = widths[column];
        format.pszText = const_cast<wchar_t*>(Wide(headings[column]));
        format.iSubItem = column;
        SendMessageW(m_List, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&format));
    }
}

void DeviceListView::ShowRows(const std::vector<RowFinding>& findings) {
    m_Findings.Assign(m_Rows, findings);
    ListView_SetItemState(m_List, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(m_List, static_cast<int>(m_Rows.Rows().size()), 0);
    InvalidateRect(m_List, nullptr, TRUE);
}

void DeviceListView::Reorder(const std::function<void()>& reorder) {
    const std::vector<std::size_t> before = SelectedRows();
    // The focus mark last, after the selected rows.
    std::vector<std::size_t> marked = before;
    const int current = CurrentRow();
    if (current >= 0) {
        marked.push_back(static_cast<std::size_t>(current));
    }
    const RowsThroughSort carried(m_Rows, marked);
    reorder();
    const std::vector<std::size_t> places = carried.Places(m_Rows);
    // The control changes and reports each row's state on its own, so only the rows whose
    // selection differs change: with every row selected, none does.
    enum : unsigned char { Unselected, WasSelected, IsSelected, StaysSelected };
    std::vector<unsigned char> state(m_Rows.Rows().size(), Unselected);
    for (const std::size_t row : before) {
        state[row] = WasSelected;
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        unsigned char& row = state[places[i]];
        row = row == WasSelected ? StaysSelected : IsSelected;
    }
    for (std::size_t row = 0; row < state.size(); ++row) {
        if (state[row] == WasSelected || state[row] == IsSelected) {
            const UINT selected = state[row] == IsSelected ? LVIS_SELECTED : 0;
            ListView_SetItemState(m_List, static_cast<int>(row), selected, LVIS_SELECTED);
        }
    }
    if (current >= 0) {
        ListView_SetItemState(m_List, static_cast<int>(places.back()), LVIS_FOCUSED, LVIS_FOCUSED);
    }
    InvalidateRect(m_List, nullptr, TRUE);
}

int DeviceListView::CurrentRow() const {
    return ListView_GetNextItem(m_List, -1, LVNI_FOCUSED);
}

void DeviceListView::SelectOnly(std::size_t row) {
    ListView_SetItemState(m_List, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(m_List, static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_List, static_cast<int>(row), FALSE);
}

void DeviceListView::SetCurrentRow(std::size_t row) {
    SelectOnly(row);
}

void DeviceListView::MarkRowForMenu(std::size_t row) {
    const int item = static_cast<int>(row);
    if ((ListView_GetItemState(m_List, item, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
        ListView_SetItemState(m_List, item, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        SelectOnly(row);
    }
}

std::vector<std::size_t> DeviceListView::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (int item = ListView_GetNextItem(m_List, -1, LVNI_SELECTED); item >= 0;
         item = ListView_GetNextItem(m_List, item, LVNI_SELECTED)) {
        rows.push_back(static_cast<std::size_t>(item));
    }
    return rows;
}

const RowFinding* DeviceListView::FindingOf(std::size_t row) const {
    return m_Findings.Of(m_Rows, row);
}

void DeviceListView::OnGetDispInfo(NMLVDISPINFOW& info) const {
    const auto row = static_cast<std::size_t>(info.item.iItem);
    const auto column = static_cast<std::size_t>(info.item.iSubItem);
    if ((info.item.mask & LVIF_TEXT) == 0 || row >= m_Rows.Rows().size() ||
        column >= static_cast<std::size_t>(DeviceList::kColumnCount)) {
        return;
    }
    // Device texts are plain text; the control draws them as they are.
    std::wstring text(Wide(m_Rows.Rows()[row][column]));
    if (column == 1) {
        if (const RowFinding* finding = FindingOf(row); finding != nullptr && finding->error) {
            text.insert(0, kErrorMarker);
        }
    }
    CopyText(text, info.item.pszText, info.item.cchTextMax);
}

LRESULT DeviceListView::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const RowFinding* finding = FindingOf(static_cast<std::size_t>(draw.nmcd.dwItemSpec));
        if (finding != nullptr && finding->error) {
            draw.clrTextBk = kErrorBackground;
            draw.clrText = kErrorText;
            return CDRF_NEWFONT;
        }
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void DeviceListView::OnGetInfoTip(NMLVGETINFOTIPW& tip) const {
    if (tip.iItem < 0) {
        return;
    }
    if (const RowFinding* finding = FindingOf(static_cast<std::size_t>(tip.iItem))) {
        CopyText(std::wstring(Wide(finding->text)), tip.pszText, tip.cchTextMax);
    }
}

} // namespace kestrun::win32
