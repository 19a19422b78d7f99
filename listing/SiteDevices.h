#pragma once

#include "DeviceInfo.h"
#include "SiteDevice.h"

#include <vector>

namespace vanmoor::listing {

// A device as the commissioning layer sees it; an unknown local address becomes 0.0.0.0.
commission::SiteDevice ToSiteDevice(const DeviceInfo& device);
std::vector<commission::SiteDevice> ToSiteDevices(const std::vector<DeviceInfo>& devices);

} // namespace vanmoor::listing
