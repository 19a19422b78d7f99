#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrun {

// The entries of the interface drop-down: "Select All" (every interface) first, then the local
// addresses; and which entry is selected (-1: none).
class InterfaceChoice {
public:
    // Replaces the entries; nothing is selected afterwards.
    void Refill(std::u16string selectAll, const std::vector<std::u16string>& addresses);

    // The user's choice; an index outside the entries selects nothing.
    void Select(int index);

    // Selects the last entry equal to `text` (case-sensitive), or nothing when none is.
    void SelectLastEqual(std::u16string_view text);

    int Selected() const { return m_Selected; }
    // Text of the selected entry, empty when nothing is selected.
    std::u16string SelectedText() const;
    const std::vector<std::u16string>& Entries() const { return m_Entries; }

private:
    std::vector<std::u16string> m_Entries;
    int m_Selected = -1;
};

} // namespace kestrun
