#include "RecentIds.h"

namespace vanmoor::wsd {

RecentIds::RecentIds(std::size_t capacity) : m_capacity(capacity) {}

bool RecentIds::Insert(std::string_view id) {
    if (m_capacity == 0 || !m_ids.emplace(id).second) {
        return false;
    }
    m_order.emplace_back(id);
    if (m_order.size() > m_capacity) {
        m_ids.erase(m_order.front());
        m_order.pop_front();
    }
    return true;
}

bool RecentIds::Contains(std::string_view id) const {
    return m_ids.contains(std::string(id));
}

} // namespace vanmoor::wsd
