#pragma once

#include "AddressText.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::commission {

// How long a changed camera may take to show its new settings, a reboot included, unless the
// user says otherwise.
inline constexpr std::chrono::seconds kDefaultVerifyWait{120};

// Sees a camera on the network by its endpoint reference, the identity it keeps when its
// address changes: through its Hello or its answer to a probe. WS-Discovery on the wire in the
// product; a test may script it.
class EndpointWatch {
public:
    virtual ~EndpointWatch() = default;
    // The XAddrs the camera `endpoint` gave at `address` (announced or answered from there), as
    // soon as it is seen there; none when it was not seen there by `deadline`.
    virtual std::optional<std::vector<std::string>>
    SeenAt(std::string_view endpoint, const settings::Ipv4Octets& address,
           std::chrono::steady_clock::time_point deadline) = 0;

    struct Sighting {
        settings::Ipv4Octets address{};
        std::vector<std::string> xaddrs;
    };
    // Where the camera `endpoint` was seen on the watched networks, at whatever address (one
    // that takes its address from DHCP), with the XAddrs it gave there; none when it was not
    // seen by `deadline`.
    virtual std::optional<Sighting>
    SeenAnywhere(std::string_view endpoint, std::chrono::steady_clock::time_point deadline) = 0;
};

} // namespace vanmoor::commission
