#pragma once

#include "AddressText.h"
#include "MessageText.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vanmoor::commission {

using settings::Ipv4Octets;
using settings::MacBytes;

// An IPv4 address as one number, first dotted number in the high byte, so that addresses
// can be counted through and masked.
std::uint32_t AddressNumber(const Ipv4Octets& octets);
Ipv4Octets AddressOctets(std::uint32_t number);

// A netmask whose one bits all come before its zero bits (255.255.255.0, not 255.0.255.0).
bool IsContiguousMask(const Ipv4Octets& netmask);
// The number of leading one bits; meaningful for a contiguous mask.
int PrefixLength(const Ipv4Octets& netmask);
Ipv4Octets MaskOfPrefix(int prefixLength);

// Why no device can take `address` as its own ("a multicast address", "a loopback address",
// "in 0.0.0.0/8", "a reserved address", the last covering 255.255.255.255); none when it can.
std::optional<MessageText> WhyUnusable(const Ipv4Octets& address);

// The subnet that `address` and `netmask` describe.
struct Subnet {
    std::uint32_t network = 0;
    std::uint32_t mask = 0;

    static Subnet Of(const Ipv4Octets& address, const Ipv4Octets& netmask);
    bool Holds(const Ipv4Octets& address) const;
    std::uint32_t Broadcast() const { return network | ~mask; }
    // True for the network and broadcast addresses of subnets that have hosts between them
    // (a /31 or /32 has none of these).
    bool IsNetworkOrBroadcast(const Ipv4Octets& address) const;
    // "192.0.2.0/24".
    std::string Text() const;
};

} // namespace vanmoor::commission
