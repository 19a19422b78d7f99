#pragma once

#include "DeviceList.h"
#include "RowFindings.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace kestrun {

// The site checks' findings of the listed rows, kept by row key so that they stay with their
// devices when the rows are sorted.
class KeyedFindings {
public:
    // `findings` follow the rows of `list` as they are ordered now.
    void Assign(const DeviceList& list, const std::vector<RowFinding>& findings);
    // The finding of `row` of `list` as it is ordered now; null when it has none.
    const RowFinding* Of(const DeviceList& list, std::size_t row) const;

private:
    std::unordered_map<int, RowFinding> m_ByKey; // rows without a finding left out
};

} // namespace kestrun
