#include "KeyedFindings.h"

namespace kestrun {

void KeyedFindings::Assign(const DeviceList& list, const std::vector<RowFinding>& findings) {
    m_ByKey.clear();
    for (std::size_t row = 0; row < findings.size() && row < list.Rows().size(); ++row) {
        if (const int key = list.RowKey(row); key != 0 && !findings[row].text.empty()) {
            m_ByKey.emplace(key, findings[row]);
        }
    }
}

const RowFinding* KeyedFindings::Of(const DeviceList& list, std::size_t row) const {
    const auto found = m_ByKey.find(list.RowKey(row));
    return found != m_ByKey.end() ? &found->second : nullptr;
}

} // namespace kestrun
