#pragma once

#include <string>
#include <string_view>

namespace vanmoor::onvif {

inline constexpr std::string_view kSoap12Namespace = "http://www.w3.org/2003/05/soap-envelope";

// A SOAP 1.2 envelope around one request element, with `header` (a wsse:Security element) in
// its Header when there is one.
std::string SoapEnvelope(std::string_view body, std::string_view header = {});

// The Content-Type of a SOAP 1.2 request, its action as the HTTP binding's parameter.
std::string SoapContentType(std::string_view action);

} // namespace vanmoor::onvif
