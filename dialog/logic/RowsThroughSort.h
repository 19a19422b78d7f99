#pragma once

#include "DeviceList.h"

#include <cstddef>
#include <vector>

namespace kestrun {

// Rows of a DeviceList followed through a reorder of its rows, as a selection and a focus mark
// follow their devices through a sort: the rows are noted by their keys before and found again
// through a hash of the keys after, so that a selection of every row of a large site costs two
// passes over the list, not a search of the selection per row.
class RowsThroughSort {
public:
    // Notes `rows`, places in `list` as it is ordered now.
    RowsThroughSort(const DeviceList& list, const std::vector<std::size_t>& rows);

    // The noted rows' places in `list` as it is ordered now, in the order they were noted. A
    // reorder keeps every row; should a noted row be gone, its old place stands.
    std::vector<std::size_t> Places(const DeviceList& list) const;

private:
    std::vector<std::size_t> m_Before;
    std::vector<int> m_Keys;
};

} // namespace kestrun
