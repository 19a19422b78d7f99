#include "DeviceList.h"

#include "DeviceServiceRecord.h"
#include "SharedSettings.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace kestrun {

namespace {

constexpr char16_t kWsdKeyLetter = u'w';

int NumberOf(const DeviceList::Row& row) {
    return LeadingDecimal(std::u16string_view(row[0]));
}

// The number after the letter of a WS-Discovery row's key; 0 for any other row.
int WsdNumberOf(const DeviceList::Row& row) {
    return !row[0].empty() && row[0][0] == kWsdKeyLetter
               ? LeadingDecimal(std::u16string_view(row[0]).substr(1))
               : 0;
}

// Three digits a number, as the library writes the addresses of its rows, so that the address
// column sorts alike.
std::u16string ListedAddressText(const vanmoor::settings::Ipv4Octets& ip) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d.%03d.%03d.%03d", ip[0], ip[1], ip[2], ip[3]);
    return Utf16FromAscii(text);
}

// Library devices by number, then the WS-Discovery cameras by theirs.
std::pair<int, int> KeyOf(const DeviceList::Row& row) {
    const int wsd = WsdNumberOf(row);
    return wsd > 0 ? std::pair(1, wsd) : std::pair(0, NumberOf(row));
}

// Whether `a` sorts before `b` under `mode`. Texts compare UTF-16 unit by unit.
bool Before(int mode, const DeviceList::Row& a, const DeviceList::Row& b) {
    switch (mode) {
    case 0:
        return KeyOf(a) < KeyOf(b);
    case 1:
        return KeyOf(a) > KeyOf(b);
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

void DeviceList::SetWsdTwin(int index, vanmoor::site::WsdDetails twin) {
    m_WsdTwins.insert_or_assign(index + 1, std::move(twin));
}

void DeviceList::AddWsdRow(vanmoor::site::SiteDevice device, std::u16string_view marker) {
    m_Rows.push_back(
        Row{kWsdKeyLetter + Utf16FromAscii(std::to_string(m_WsdDevices.size() + 1)),
            Utf16FromUtf8(device.name) + u" [" + std::u16string(marker) + u"]",
            device.AddressKnown() ? ListedAddressText(device.ip) : std::u16string(u"-")});
    m_WsdDevices.push_back(std::move(device));
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

int DeviceList::RowKey(std::size_t row) const {
    if (row >= m_Rows.size()) {
        return 0;
    }
    const int wsd = WsdNumberOf(m_Rows[row]);
    return wsd > 0 ? -wsd : NumberOf(m_Rows[row]);
}

const vanmoor::site::SiteDevice* DeviceList::WsdDevice(std::size_t row) const {
    const int number = row < m_Rows.size() ? WsdNumberOf(m_Rows[row]) : 0;
    return number > 0 ? &m_WsdDevices[static_cast<std::size_t>(number - 1)] : nullptr;
}

void DeviceList::TakeCameraRead(const vanmoor::site::SiteDevice& camera,
                                const vanmoor::onvif::CameraSettings& read) {
    for (vanmoor::site::SiteDevice& device : m_WsdDevices) {
        if (&device == &camera) {
            vanmoor::site::TakeDeviceServiceRead(device, read);
        }
    }
}

const vanmoor::site::WsdDetails* DeviceList::WsdTwin(std::size_t row) const {
    const auto twin = m_WsdTwins.find(DeviceNumber(row));
    return twin != m_WsdTwins.end() ? &twin->second : nullptr;
}

} // namespace kestrun
