#pragma once

#include "CameraSettings.h"
#include "SiteRecord.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrun {

// The rows of the device list: device number (library index + 1, in a hidden column), name and
// IP address; and the list's own sort rule, kept apart from the view's. A camera found by
// WS-Discovery alone has a row whose hidden key starts with a letter, so it never reads as a
// library index, and whose name carries a marker.
class DeviceList {
public:
    static constexpr int kColumnCount = 3;
    using Row = std::array<std::u16string, kColumnCount>;

    // Width of the name buffer the library fills for a row.
    static constexpr std::size_t kNameBytes = 30;

    void Clear() {
        m_Rows.clear();
        m_WsdDevices.clear();
        m_WsdTwins.clear();
    }

    // Appends a row for library index `index`; `name` is UTF-8 up to its first zero byte (at most
    // kNameBytes), `ip` the dotted address as the library gives it.
    void AddDeviceRow(int index, std::string_view name, std::string_view ip);
    // What the library's device at `index` also answered WS-Discovery with, its row having
    // taken the camera in.
    void SetWsdTwin(int index, vanmoor::site::WsdDetails twin);
    // Appends a row for a camera found by WS-Discovery alone: its name, then `marker` in
    // brackets, and its address.
    void AddWsdRow(vanmoor::site::SiteDevice device, std::u16string_view marker);

    // A click on the heading of `column`: sorts by it, alternating the direction, and lists the
    // sorted rows in reverse order (the greatest key first on the first click). Rows with equal
    // keys end up in the reverse of their previous order. Other columns do nothing.
    void SortByColumn(int column);

    const std::vector<Row>& Rows() const { return m_Rows; }

    // The device number in the first cell of `row`: the decimal number at its start, 0 when it
    // has none or the row does not exist.
    int DeviceNumber(std::size_t row) const;
    // A number unique to the row's device that travels with it through sorts: the device number,
    // or minus the WS-Discovery camera's number; 0 when the row does not exist.
    int RowKey(std::size_t row) const;
    // The camera of a WS-Discovery row; null for any other row.
    const vanmoor::site::SiteDevice* WsdDevice(std::size_t row) const;
    // Takes what `camera`'s device service told into the record of its WS-Discovery row, so
    // that the row and the assign dialog see it read. `camera` is one of WsdDevice()'s.
    void TakeCameraRead(const vanmoor::site::SiteDevice& camera,
                        const vanmoor::onvif::CameraSettings& read);
    // The WS-Discovery answer of a library device's row; null when it gave none.
    const vanmoor::site::WsdDetails* WsdTwin(std::size_t row) const;

private:
    std::vector<Row> m_Rows;
    std::vector<vanmoor::site::SiteDevice> m_WsdDevices;           // the key "w<n>" names the n-th
    std::unordered_map<int, vanmoor::site::WsdDetails> m_WsdTwins; // by device number
    // Per column: whether its next heading click sorts in descending order.
    std::array<bool, kColumnCount> m_Descending{};
};

} // namespace kestrun
