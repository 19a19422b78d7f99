#pragma once

#include "Protocol32970.h"

#include <array>
#include <cstddef>

namespace vanmoor {

// The search requests that every search broadcasts, one per endpoint of the protocol's port.

inline constexpr std::size_t kSearchRequest4022Size = 72;
using SearchRequest4022 = std::array<char, kSearchRequest4022Size>;

// "PCEdit", then 0x02 at offsets 6, 25, 32 and 60, zeros elsewhere.
SearchRequest4022 MakeSearchRequest4022();

// The port-32970 header with the search-request kind, zeros after it.
Datagram32970 MakeSearchRequest32970();

} // namespace vanmoor
