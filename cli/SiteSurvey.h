#pragma once

#include "DeviceReading.h"
#include "Session.h"
#include "SiteDevices.h"

#include <vector>

namespace vanmoor::cli {

using listing::ToSiteDevice;
using listing::ToSiteDevices;

// The local addresses the session searches through, each with its interface's netmask.
std::vector<commission::HostAddress> HostAddresses(const Session& session);

} // namespace vanmoor::cli
