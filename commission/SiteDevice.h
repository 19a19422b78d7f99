#pragma once

#include "AddressText.h"
#include "SiteRecord.h"

#include <string>
#include <vector>

namespace vanmoor::commission {

using settings::Ipv4Octets;
using settings::MacBytes;

// The one device record: commissioning takes what the searches found.
using site::SiteDevice;

// One IPv4 address of the host, with the netmask of its interface.
struct HostAddress {
    Ipv4Octets address{};
    Ipv4Octets netmask{};
};

} // namespace vanmoor::commission
