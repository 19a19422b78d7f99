#pragma once

#include <cstddef>

namespace vanmoor::wsd {

// Bounds on what one datagram from the network may cost. Anyone on the LAN can send one.
struct Limits {
    std::size_t maxDatagramBytes = 32767; // the protocol's own bound for a SOAP-over-UDP message
    int maxDepth = 24;                    // real messages nest about eight elements deep
    std::size_t maxTextBytes = 1024;      // one address, URI or identifier
    std::size_t maxListItems = 32;        // types, scopes or addresses of one device
    std::size_t maxTargets = 32;          // ProbeMatch elements of one message
};

} // namespace vanmoor::wsd
