#include "DeviceList.h"

#include "SharedSettings.h"

#include <algorithm>

namespace kestrun {

namespace {

int NumberOf(const DeviceList::Row& row) {
    return LeadingDecimal(std::u16string_view(row[0]));
}

// Whether `a` sorts before `b` under `mode`. Texts compare UTF-16 unit by unit.
bool Before(int mode, const DeviceList::Row& a, const DeviceList::Row& b) {
    switch (mode) {
    case 0:
        return NumberOf(a) < NumberOf(b);
    case 1:
        return NumberOf(a) > NumberOf(b);
    case 2:
        return a[1] < b[1];
    case 3:
        return a[1] > b[1];
    case 4:
        return a[2] < b[2];
    default:
        return a[2] > b[2];
    }
}

} // namespace

void DeviceList::AddDeviceRow(int index, std::string_view name, std::string_view ip) {
    m_Rows.push_back(Row{Utf16FromAscii(std::to_string(index + 1)),
                         Utf16FromUtf8(name.substr(0, kNameBytes)), Utf16FromAscii(ip)});
}

void DeviceList::SortByColumn(int column) {
    if (column < 0 || column >= kColumnCount) {
        return;
    }
    bool& descending = m_Descending[static_cast<std::size_t>(column)];
    // Modes 0 to 5: column * 2, plus 1 for the descending order.
    const int mode = column * 2 + (descending ? 1 : 0);
    descending = !descending;

    std::stable_sort(m_Rows.begin(), m_Rows.end(),
                     [mode](const Row& a, const Row& b) { return Before(mode, a, b); });
    // Every sorted row goes back in at the top of the list, so the list shows them reversed.
    std::reverse(m_Rows.begin(), m_Rows.end());
}

int DeviceList::DeviceNumber(std::size_t row) const {
    return row < m_Rows.size() ? NumberOf(m_Rows[row]) : 0;
}

} // namespace kestrun
