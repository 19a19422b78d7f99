#pragma once

#include "SiteRecord.h"

#include <chrono>
#include <string>
#include <vector>

namespace kestrun {

// The WS-Discovery scan that a search runs beside the library's: started before the library's
// search and finished after it, both off the user-interface thread.
class WsdScan {
public:
    virtual ~WsdScan() = default;

    // Starts probing on `localAddresses` (empty: every local address) for about `wait`.
    virtual void Start(std::vector<std::string> localAddresses, std::chrono::milliseconds wait) = 0;
    // Waits for the scan started last; the cameras it heard, each with the local address it
    // answered through. Empty when none was started.
    virtual std::vector<vanmoor::site::SiteDevice> Finish() = 0;
};

} // namespace kestrun
