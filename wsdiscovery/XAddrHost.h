#pragma once

#include "AddressText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::wsd {

// The host of a URL such as http://192.0.2.10:8080/onvif/device_service, without user
// information, port and brackets.
std::string_view UrlHost(std::string_view url);

// The address of the first URL whose host is an IPv4 address, if any.
std::optional<settings::Ipv4Octets> FirstIpv4Host(const std::vector<std::string>& urls);

} // namespace vanmoor::wsd
