#pragma once

#include "SimDevice.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace vanmoor::devsim {

// The SOAP 1.2 envelope around answer body elements, with the env:, tds:, tt: and ter: prefixes
// declared.
std::string SoapEnvelope(std::string_view body);
// A fault envelope: code env:Sender or env:Receiver, a ter: subcode, the reason escaped.
std::string SoapFault(std::string_view code, std::string_view subcode, std::string_view reason);

// The answer body of a reading operation of the device service, from the device's settings and
// its clock; no value for an operation that reads nothing.
std::optional<std::string> ReadingAnswer(std::string_view operation, const SimDevice& device,
                                         std::chrono::system_clock::time_point deviceNow);

// The device's scopes parted into the ones a client may set (name and location) and the fixed.
bool IsConfigurableScope(std::string_view scope);

// The device's host name: "sim-" and the MAC's last three bytes in hexadecimal.
std::string HostName(const SimDevice& device);

} // namespace vanmoor::devsim
