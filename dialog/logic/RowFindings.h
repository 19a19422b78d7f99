#pragma once

#include "DeviceList.h"
#include "ExtraTextTable.h"
#include "LibraryApi.h"

#include <string>
#include <vector>

namespace kestrun {

// What the site checks of the commissioning layer find for one row of the device list.
struct RowFinding {
    bool error = false;  // any error-level finding: the row is marked
    std::u16string text; // one line per finding (kind: message); empty: none
};

// The findings of every row, in row order, over the devices of the last search as the library
// tells them and the host's addresses that it searched through. The kinds of finding are
// named in the language of `texts`; the messages are English.
std::vector<RowFinding> FindRowProblems(const LibraryApi& api, const DeviceList& list,
                                        const ExtraTextTable& texts);

} // namespace kestrun
