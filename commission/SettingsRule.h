#pragma once

#include "MessageText.h"
#include "Subnet.h"

#include <optional>

namespace vanmoor::commission {

// The one rule for the addresses a device is sent, by the command line's `set`, Kestrun's
// Submit and the address planner alike. Each gives why no device can work with the values, or
// none when it can.

// An address in 0.0.0.0/8, loopback, multicast or reserved: not one a device can use, nor a
// host open a page on.
std::optional<MessageText> WhyAddressUnusable(const Ipv4Octets& ip);

// A netmask of 0.0.0.0 (no subnet) or one that is not contiguous.
std::optional<MessageText> WhyNetmaskRefused(const Ipv4Octets& netmask);

// A gateway other than 0.0.0.0 (none) that no device can use, that lies outside `subnet`, or
// that is its network or broadcast address.
std::optional<MessageText> WhyGatewayRefused(const Ipv4Octets& gateway, const Subnet& subnet);

// All of it for one device: its address one a device can use, with a last number from 1 to 254
// (the library sends no other), the netmask, the address not the network or broadcast address
// of the subnet (a /31 or /32 has neither), and the gateway.
std::optional<MessageText> WhySettingsRefused(const Ipv4Octets& ip, const Ipv4Octets& netmask,
                                              const Ipv4Octets& gateway);

} // namespace vanmoor::commission
