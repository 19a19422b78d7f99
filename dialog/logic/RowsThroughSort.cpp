#include "RowsThroughSort.h"

#include <unordered_map>

namespace kestrun {

RowsThroughSort::RowsThroughSort(const DeviceList& list, const std::vector<std::size_t>& rows)
    : m_Before(rows) {
    m_Keys.reserve(rows.size());
    for (const std::size_t row : rows) {
        m_Keys.push_back(list.RowKey(row));
    }
}

std::vector<std::size_t> RowsThroughSort::Places(const DeviceList& list) const {
    if (m_Keys.empty()) {
        return {};
    }
    std::unordered_map<int, std::size_t> placeOf;
    placeOf.reserve(list.Rows().size());
    for (std::size_t row = 0; row < list.Rows().size(); ++row) {
        placeOf.emplace(list.RowKey(row), row);
    }
    std::vector<std::size_t> places;
    places.reserve(m_Keys.size());
    for (std::size_t i = 0; i < m_Keys.size(); ++i) {
        const auto found = placeOf.find(m_Keys[i]);
        places.push_back(found != placeOf.end() ? found->second : m_Before[i]);
    }
    return places;
}

} // namespace kestrun
