#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>

namespace vanmoor::wsd {

// The last `capacity` distinct identifiers; the oldest is forgotten first, so memory stays
// bounded however many arrive.
class RecentIds {
public:
    explicit RecentIds(std::size_t capacity);

    // False when `id` is already held.
    bool Insert(std::string_view id);
    bool Contains(std::string_view id) const;
    std::size_t Size() const { return m_order.size(); }

private:
    std::size_t m_capacity;
    std::unordered_set<std::string> m_ids;
    std::deque<std::string> m_order;
};

} // namespace vanmoor::wsd
