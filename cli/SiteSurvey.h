#pragma once

#include "DeviceReading.h"
#include "Session.h"
#include "SiteDevice.h"

#include <vector>

namespace vanmoor::cli {

// A device as the commissioning layer sees it.
commission::SiteDevice ToSiteDevice(const DeviceInfo& device);
std::vector<commission::SiteDevice> ToSiteDevices(const std::vector<DeviceInfo>& devices);

// The local addresses the session searches through, each with its interface's netmask.
std::vector<commission::HostAddress> HostAddresses(const Session& session);

} // namespace vanmoor::cli
