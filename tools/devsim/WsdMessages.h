#pragma once

#include "QualifiedName.h"
#include "SimDevice.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::devsim {

// A type as device files write it: {namespace}local, or tdn:local and tds:local for the
// ONVIF network and device namespaces. No value for any other text.
std::optional<wsd::QualifiedName> ParseWsdType(std::string_view text);

// What a device's WS-Discovery messages say, its settings' defaults filled in:
//   endpoint  urn:uuid:5ca1ab1e-0000-4000-8000-<the MAC's twelve hex digits>
//   types     tdn:NetworkVideoTransmitter tds:Device
//   scopes    onvif://www.onvif.org/type/video_encoder and, with a name,
//             onvif://www.onvif.org/name/<the name, percent-encoded>
//   xaddrs    http://<ip>[:<port> unless 80]/onvif/device_service
std::string WsdEndpoint(const SimDevice& device);
std::vector<wsd::QualifiedName> WsdTypes(const SimDevice& device);
std::vector<std::string> WsdScopes(const SimDevice& device);
std::vector<std::string> WsdXAddrs(const SimDevice& device);

// True when every wanted type is among the device's; an empty list matches every device.
bool MatchesTypes(const SimDevice& device, const std::vector<wsd::QualifiedName>& wanted);

// The SOAP 1.2 envelopes a device sends, each with the given MessageID.
std::string ProbeMatchesMessage(const SimDevice& device, std::string_view messageId,
                                std::string_view relatesTo);
std::string HelloMessage(const SimDevice& device, std::string_view messageId);
std::string ByeMessage(const SimDevice& device, std::string_view messageId);

} // namespace vanmoor::devsim
