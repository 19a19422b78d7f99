#pragma once

#include "Message.h"
#include "SiteRecord.h"

#include <string>

namespace vanmoor::site {

// A camera as WS-Discovery describes it, with the common fields it tells filled (ip from its
// XAddrs, name from its name scope, the web port of its XAddrs) and the local address it came
// through.
SiteDevice DeviceFromTarget(const wsd::TargetService& target, const std::string& receivedOn);

} // namespace vanmoor::site
