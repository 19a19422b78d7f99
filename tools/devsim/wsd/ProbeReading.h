#pragma once

#include "QualifiedName.h"

#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::devsim {

// What a device needs of a WS-Discovery Probe.
struct ProbeRequest {
    std::string messageId;
    std::vector<wsd::QualifiedName> types; // every one must be among the device's; none: any
};

// The datagram read as a Probe with the scanner's own hostile-safe parser; false when it is
// something else or unreadable. Kept apart from the rest of the simulator, whose include
// directory holds headers named like the library's.
bool ReadProbe(std::string_view datagram, ProbeRequest& probe);

} // namespace vanmoor::devsim
