#pragma once

#include "AddressText.h"

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::site {

// The web page of a WS-Discovery device: the scheme, host and port of its first http or https
// transport address whose host is `ip` (else of its first http or https one), with the path
// "/". None when no transport address is a plain web address: texts from the network that hold
// anything but a host name, an address and a port never reach the browser.
std::optional<std::string> WebPageOfXAddrs(const std::vector<std::string>& xaddrs,
                                           const settings::Ipv4Octets& ip);
// The port of that web page (80 or 443 unless the address names one); 0 when there is none.
int WebPortOfXAddrs(const std::vector<std::string>& xaddrs, const settings::Ipv4Octets& ip);

} // namespace vanmoor::site
