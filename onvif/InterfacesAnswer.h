#pragma once

#include "CameraSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace vanmoor::onvif {

// Interfaces of one answer that are looked at; real cameras have one or two.
inline constexpr std::size_t kMaxInterfaces = 32;

// GetNetworkInterfaces' answer: fills MAC, interface token, DHCP, IPv4 address and prefix
// length from the interface that counts: the one whose IPv4 address is `reachedAt` (the
// address the camera was reached at), else the first enabled one with IPv4 enabled and an
// address. Its address is the one from DHCP when DHCP is on, else the manual one. The answer
// is refused when no interface counts, and for a value that is not one (an address that is no
// IPv4 address, a prefix length over 32, a token with white space).
std::string ReadNetworkInterfaces(std::string_view envelope,
                                  const std::optional<Ipv4Octets>& reachedAt, CameraSettings& into);

} // namespace vanmoor::onvif
