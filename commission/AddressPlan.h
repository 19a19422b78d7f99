#pragma once

#include "MessageText.h"
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
    // 0.0.0.0: none; not given: each device keeps its own, which must lie in the new subnet.
    std::optional<Ipv4Octets> gateway;
    std::optional<Ipv4Octets> dns1; // none: each device keeps its own
    std::optional<Ipv4Octets> dns2;
    std::optional<std::string> namePattern; // none: each device keeps its name, byte for byte
    // Devices may be moved out of the subnet of the host address they were found through (the
    // host can then no longer reach them); refused otherwise.
    bool allowOtherSubnet = false;
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
    // The planned address lies outside every subnet through which this host reaches the device.
    bool outOfReach = false;
};

// Why no plan could be made; the message says it for a person.
class PlanError : public MessageError {
public:
    using MessageError::MessageError;
};

// Gives each of `chosen` whose settings are known, in that order, the next free address from
// `request.first` on (a camera found by WS-Discovery alone is planned once its device service
// was read; one not read is left out of the plan, but the address it holds is taken): held by
// no other device of `found` or `chosen` (a device may keep its own address, but never moves
// onto one that another device still holds, so that no step of a batch, whichever commands get
// lost or refused, leaves two devices on one address), not the host's, not the subnet's network
// or broadcast address, not a gateway, usable by a device (no multicast, loopback, ...), and with
// a last number from 1 to 254 (the library refuses the others). Throws PlanError for a request
// that the rules refuse (a bad or empty netmask, an address no device can use, a gateway
// outside the subnet, a malformed name pattern, a name the device's command cannot carry), for
// a move out of the subnet a device was found through unless the request allows it, and for a
// plan that does not fit in the subnet.
std::vector<PlannedDevice> PlanAddresses(const std::vector<SiteDevice>& chosen,
                                         const std::vector<SiteDevice>& found,
                                         const std::vector<HostAddress>& host,
                                         const PlanRequest& request);

} // namespace vanmoor::commission
