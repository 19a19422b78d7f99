#pragma once

#include "Message.h"
#include "SiteRecord.h"

#include <string>

namespace vanmoor::site {

// A camera as WS-Discovery describes it, with the common fields it tells filled (ip from its
// XAddrs, name from its name scope, the web port of its XAddrs), the local address it came
// through and the address it came from (`sender`, network byte order; 0 when not known).
SiteDevice DeviceFromTarget(const wsd::TargetService& target, const std::string& receivedOn,
                            std::uint32_t sender);

} // namespace vanmoor::site
