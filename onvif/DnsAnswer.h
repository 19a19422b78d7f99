#pragma once

#include "CameraSettings.h"

#include <string>
#include <string_view>

namespace vanmoor::onvif {

// Servers and search domains of one answer: what a change sends back must be complete, so an
// answer with more is refused rather than cut.
inline constexpr std::size_t kMaxDnsServers = 8;
inline constexpr std::size_t kMaxSearchDomains = 8;

// GetDNS' answer: whether the servers come from DHCP, the search domains, and the IPv4
// servers set by hand and from DHCP, in order (IPv6 servers are left out).
std::string ReadDns(std::string_view envelope, CameraSettings& into);

} // namespace vanmoor::onvif
