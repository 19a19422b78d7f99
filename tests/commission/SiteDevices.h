#pragma once

#include "SiteDevice.h"

#include <string>

namespace vanmoor::commission::test {

// A static device on 192.0.2.0/24 found through the host's 192.0.2.1, changed by `ip`, MAC
// ending in `last` and named `name`.
SiteDevice Camera(int last, const std::string& ip, const std::string& name = "");

Ipv4Octets Ip(const std::string& text);

// The host's address 192.0.2.1/24.
HostAddress Host();

} // namespace vanmoor::commission::test
