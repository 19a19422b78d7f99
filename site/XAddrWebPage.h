#pragma once

#include "AddressText.h"

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::site {

// The web page of a WS-Discovery device: the scheme, host and port of its first http or https
// transport address whose host is `ip`, the address the device is listed with, with the path
// "/". None when no such address is a plain web address: texts from the network that hold
// anything but a host name, an address and a port never reach the browser, and anyone on the
// LAN can announce a page on another host in a device's name. None for 0.0.0.0, which stands
// for an address not known.
std::optional<std::string> WebPageOfXAddrs(const std::vector<std::string>& xaddrs,
                                           const settings::Ipv4Octets& ip);

// A plain web page the transport addresses name, on whatever host: to tell which host a device
// names when it has no page on its own address, and to open it only when the user asks for
// that host explicitly.
struct NamedWebPage {
    std::string host;
    std::string page;
};
std::optional<NamedWebPage> FirstWebPageOfXAddrs(const std::vector<std::string>& xaddrs);
// The port of that web page (80 or 443 unless the address names one); 0 when there is none.
int WebPortOfXAddrs(const std::vector<std::string>& xaddrs, const settings::Ipv4Octets& ip);

// The device service URL of a camera that answered from `ip`: its first http or https
// transport address whose host is `ip`, as it was sent. The credentials go there, so an address
// naming another host or a host name, or carrying user information, is never taken: anyone on
// the LAN can announce one in a camera's name. None when no address qualifies, and for 0.0.0.0.
std::optional<std::string> DeviceServiceUrlOfXAddrs(const std::vector<std::string>& xaddrs,
                                                    const settings::Ipv4Octets& ip);

} // namespace vanmoor::site
