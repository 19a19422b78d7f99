#pragma once

#include "SimDevice.h"
#include "UniqueFd.h"

#include <cstdint>
#include <vector>

namespace vanmoor::devsim {

// The UDP socket on which all devices of one protocol listen and answer: the wildcard address
// on the protocol port, allowed to broadcast, with a send buffer large enough for thousands of
// replies at once. Made in the calling thread's network namespace. Throws std::system_error.
UniqueFd OpenDeviceSocket(std::uint16_t port);

// The IPv4 addresses of this network namespace's interfaces, so that the simulator can tell its
// own broadcast replies when they come back to it. Throws std::system_error.
std::vector<Ipv4> LocalAddresses();

} // namespace vanmoor::devsim
