#pragma once

#include "DeviceInfo.h"

#include <vector>

namespace vanmoor::listing {

// One list of devices from the device protocols' answers and the WS-Discovery ones, so that a
// camera that answers both is one device. A WS-Discovery device joins the device-protocol
// device with its IPv4 address when both came through the same local address and no other
// device-protocol device has that address; otherwise it stays a device of its own (a second
// device on that address, or one that cannot be told apart). The device-protocol devices come
// first, in their order, then the WS-Discovery devices left on their own.
std::vector<DeviceInfo> MergeDevices(std::vector<DeviceInfo> deviceProtocol,
                                     const std::vector<DeviceInfo>& wsd);

} // namespace vanmoor::listing
