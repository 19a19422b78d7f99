#pragma once

#include <cstdint>
#include <span>

namespace vanmoor {

// Start of the refusal lines of each settings command.
inline constexpr char kSetLogPrefix[] = "CBroadCastManager::set : ";
inline constexpr char kSetMD5LogPrefix[] = "CBroadCastManager::set_MD5::";
inline constexpr char kSetMD5MutiLogPrefix[] = "CBroadCastManager::set_MD5_Muti::";

using Ipv4Octets = std::span<const std::uint8_t, 4>;

struct NewAddressValues {
    Ipv4Octets ip;
    Ipv4Octets netmask;
    Ipv4Octets gateway;
    std::int32_t port;
};

// The checks every settings command makes before it looks for the device, in this order:
// address 0.0.0.0; last octet 0 or 255; port below 0; port above 65536 (65536 itself passes);
// a gateway that is neither 0.0.0.0 nor in the new address's subnet. Logs the first refusal as
// `logPrefix` followed by its reason and returns false; returns true when every value passes.
bool CheckNewAddressValues(const char* logPrefix, const NewAddressValues& values);

} // namespace vanmoor
