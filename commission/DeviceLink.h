#pragma once

#include "SiteDevice.h"
#include "vanmoor.h"

#include <optional>
#include <vector>

namespace vanmoor::commission {

// How a batch reaches the devices: searches and the library's two settings commands. The
// command line and the dialog each search their own way; tests stand in for both.
class DeviceLink {
public:
    virtual ~DeviceLink() = default;
    // One search; every device that answered, or none when the search could not be made (an
    // interface went away, the requests could not be sent).
    virtual std::optional<std::vector<SiteDevice>> Search() = 0;
    // The library's set() and set_MD5(): true when the command was sent.
    virtual bool Send(const NetSettings& settings) = 0;
    virtual bool Send(const AuthNetSettings& settings) = 0;
};

} // namespace vanmoor::commission
