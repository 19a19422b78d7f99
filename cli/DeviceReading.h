#pragma once

#include "Listing.h"

#include <optional>

namespace vanmoor::cli {

// The device at `index` of the library's table, read through the library's exports; none when
// the queries do not find it (an emptied entry, or hidden by the interface filter). The local
// address stays unknown.
std::optional<DeviceInfo> ReadDevice(int index);

} // namespace vanmoor::cli
