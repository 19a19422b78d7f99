#pragma once

#include "CameraSettings.h"

#include <string>
#include <string_view>

namespace vanmoor::onvif {

// Readers of the device service's answers (whole SOAP envelopes). Each fills the fields of
// `into` that its answer carries and returns an empty text; or leaves `into` as it was and
// returns why the answer was refused. A field the camera left out stays unknown.

std::string ReadDeviceInformation(std::string_view envelope, CameraSettings& into);
// The first IPv4 gateway.
std::string ReadDefaultGateway(std::string_view envelope, CameraSettings& into);
std::string ReadHostname(std::string_view envelope, CameraSettings& into);
// The HTTP protocol's enabled state and ports.
std::string ReadNetworkProtocols(std::string_view envelope, CameraSettings& into);

// SetNetworkInterfaces' answer: whether the camera takes its new settings only after a reboot.
std::string ReadRebootNeeded(std::string_view envelope, bool& rebootNeeded);
// An answer with nothing to read (SetDNS, SetScopes, SystemReboot...): that it is the one
// expected, `responseName` in the device namespace.
std::string ReadEmptyAnswer(std::string_view envelope, std::string_view responseName);

} // namespace vanmoor::onvif
