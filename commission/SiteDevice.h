#pragma once

#include "AddressText.h"

#include <string>
#include <vector>

namespace vanmoor::commission {

using settings::Ipv4Octets;
using settings::MacBytes;

// What commissioning needs to know of one device found by a search. Texts are the bytes the
// device sent.
struct SiteDevice {
    MacBytes mac{};
    Ipv4Octets ip{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    int port = 0; // web port
    bool dhcp = false;
    bool takesCredentials = false; // found on port 32970: settings go with user and password
    std::string name;
    Ipv4Octets localAddress{}; // the host's address it was found through; 0.0.0.0: not known
    // False for a device known only from WS-Discovery: its netmask, gateway and DHCP state are
    // not known, so they are not judged.
    bool settingsKnown = true;
};

// One IPv4 address of the host, with the netmask of its interface.
struct HostAddress {
    Ipv4Octets address{};
    Ipv4Octets netmask{};
};

} // namespace vanmoor::commission
