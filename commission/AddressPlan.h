#pragma once

#include "SiteDevice.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vanmoor::commission {

// What a batch hands out: addresses from `first` upwards in its subnet, with one netmask,
// gateway and DNS for all.
struct PlanRequest {
    Ipv4Octets first{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};           // 0.0.0.0: none
    std::optional<Ipv4Octets> dns1; // none: each device keeps its own
    std::optional<Ipv4Octets> dns2;
    std::optional<std::string> namePattern; // none: each device keeps its name
};

// One device's new settings.
struct PlannedDevice {
    SiteDevice device; // as found
    Ipv4Octets ip{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    std::string name; // bytes sent as the name
};

// Why no plan could be made; the message says it for a person.
class PlanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Gives each of `chosen`, in that order, the next free address from `request.first` on: not
// used by any of `found` that is not itself chosen, not the host's, not the subnet's network
// or broadcast address, not the gateway, and with a last number from 1 to 254 (the library
// refuses the others). Throws PlanError for a request that the shared checks refuse (bad mask,
// gateway outside the subnet, a malformed name pattern or a name too long) and for a plan that does
// not fit in the subnet.
std::vector<PlannedDevice> PlanAddresses(const std::vector<SiteDevice>& chosen,
                                         const std::vector<SiteDevice>& found,
                                         const std::vector<HostAddress>& host,
                                         const PlanRequest& request);

} // namespace vanmoor::commission
