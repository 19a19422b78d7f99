#include "InterfaceChoice.h"

namespace kestrun {

void InterfaceChoice::Refill(std::u16string selectAll,
                             const std::vector<std::u16string>& addresses) {
    m_Entries.clear();
    m_Entries.push_back(std::move(selectAll));
    m_Entries.insert(m_Entries.end(), addresses.begin(), addresses.end());
    m_Selected = -1;
}

void InterfaceChoice::Select(int index) {
    m_Selected = (index >= 0 && index < static_cast<int>(m_Entries.size())) ? index : -1;
}

void InterfaceChoice::SelectLastEqual(std::u16string_view text) {
    m_Selected = -1;
    for (std::size_t i = 0; i < m_Entries.size(); ++i) {
        if (m_Entries[i] == text) {
            m_Selected = static_cast<int>(i);
        }
    }
}

std::u16string InterfaceChoice::SelectedText() const {
    return m_Selected >= 0 ? m_Entries[static_cast<std::size_t>(m_Selected)] : std::u16string();
}

} // namespace kestrun
