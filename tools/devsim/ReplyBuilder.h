#pragma once

#include "SimDevice.h"
#include "WireBytes.h"

namespace vanmoor::devsim {

// The datagram a device sends in answer to a search request of its protocol: the port-4022
// reply cut to the device's reply length, or the 328-byte port-32970 reply.
Bytes BuildReply(const SimDevice& device);

} // namespace vanmoor::devsim
