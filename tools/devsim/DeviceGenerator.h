#pragma once

#include "SimDevice.h"

#include <cstddef>
#include <vector>

namespace vanmoor::devsim {

// `count` devices like `first` for load tests: the n-th (from 0) has the MAC and the address n
// above the first's, counting across bytes, and the first's name followed by n + 1; its
// WS-Discovery endpoint is the one made from its MAC address. Throws
// std::invalid_argument when a name grows too long for the protocol.
std::vector<SimDevice> GenerateDevices(const SimDevice& first, std::size_t count);

} // namespace vanmoor::devsim
