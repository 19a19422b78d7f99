#pragma once

#include "DeviceReading.h"
#include "Session.h"
#include "SiteDevice.h"

#include <vector>

namespace vanmoor::cli {

// The local addresses the session searches through, each with its interface's netmask.
std::vector<commission::HostAddress> HostAddresses(const Session& session);

} // namespace vanmoor::cli
