#pragma once

#include "AddressText.h"
#include "QualifiedName.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::wsd {

enum class MessageKind { Probe, ProbeMatches, Hello, Bye };

// One device as a ProbeMatch, Hello or Bye describes it (a Probe's types and scopes use the
// same record). Texts are the bytes the sender chose, cut to the text bound.
struct TargetService {
    std::string address; // the endpoint reference: the device's identity across addresses
    std::vector<QualifiedName> types;
    std::vector<std::string> scopes; // every scope, as sent
    std::vector<std::string> xaddrs; // every transport address, as sent
    std::optional<std::uint32_t> metadataVersion;
    // From the camera scopes, percent-decoded.
    std::string name;
    std::string hardware;
    std::string location;
    // The host of the first transport address that has an IPv4 host.
    std::optional<settings::Ipv4Octets> ipv4;
};

struct Message {
    MessageKind kind = MessageKind::Probe;
    std::string action;
    std::string messageId;
    std::string relatesTo;
    std::string to;
    std::vector<TargetService> targets;
    std::size_t targetsDropped = 0; // ProbeMatch elements past the bound
};

} // namespace vanmoor::wsd
