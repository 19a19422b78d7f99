#pragma once

#include "DeviceReading.h"
#include "Session.h"

#include <optional>
#include <string>

namespace vanmoor::cli {

// How a command names a device: by MAC, by the endpoint reference of WS-Discovery, or by its
// IPv4 address.
struct DeviceKey {
    std::optional<MacBytes> mac;
    std::string endpoint; // when neither MAC nor address
    std::optional<Ipv4Octets> ip;
};

// The MAC that a command names, as a person typed it; throws a usage error when malformed.
MacBytes ParseMacArgument(const std::string& text);
// A MAC, an endpoint reference (a URI such as urn:uuid:...) or an IPv4 address; throws a usage
// error for anything else.
DeviceKey ParseDeviceArgument(const std::string& text);
using settings::IsEndpointReference;
// Whether `key` names `device`.
bool Matches(const DeviceInfo& device, const DeviceKey& key);

// Searches for the device; throws CliError(Failed) naming the MAC when it does not answer.
DeviceInfo FindDevice(Session& session, const MacBytes& mac);
// Searches with every chosen protocol for the device; throws CliError(Failed) naming it when it
// does not answer.
DeviceInfo FindDevice(Session& session, const DeviceKey& key);

} // namespace vanmoor::cli
