#pragma once

#include "WsdScan.h"

#include <memory>

namespace kestrun {

// The scan on the network, through the search the command line uses; where the build has no
// WS-Discovery it finds nothing.
std::unique_ptr<WsdScan> MakeNetworkWsdScan();

} // namespace kestrun
