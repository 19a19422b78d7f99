#pragma once

#include "QualifiedName.h"

#include <cstdint>
#include <string_view>

namespace vanmoor::wsd {

// The names and addresses of WS-Discovery 2005/04 over SOAP 1.2 and WS-Addressing 2004/08.
inline constexpr std::string_view kSoapEnvelopeNamespace =
    "http://www.w3.org/2003/05/soap-envelope";
// Some devices still answer in SOAP 1.1; their envelopes are read as well.
inline constexpr std::string_view kSoap11EnvelopeNamespace =
    "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr std::string_view kAddressingNamespace =
    "http://schemas.xmlsoap.org/ws/2004/08/addressing";
inline constexpr std::string_view kDiscoveryNamespace =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery";
inline constexpr std::string_view kDiscoveryTo = "urn:schemas-xmlsoap-org:ws:2005:04:discovery";
inline constexpr std::string_view kAnonymousAddress =
    "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous";

inline constexpr std::string_view kProbeAction =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe";
inline constexpr std::string_view kProbeMatchesAction =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery/ProbeMatches";
inline constexpr std::string_view kHelloAction =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery/Hello";
inline constexpr std::string_view kByeAction =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery/Bye";

inline constexpr std::string_view kMulticastGroup = "239.255.255.250";
inline constexpr std::uint16_t kPort = 3702;

// The two camera types a probe asks for; a probe's types must all match, so one probe each.
inline const QualifiedName kNetworkVideoTransmitter{"http://www.onvif.org/ver10/network/wsdl",
                                                    "NetworkVideoTransmitter"};
inline const QualifiedName kDeviceType{"http://www.onvif.org/ver10/device/wsdl", "Device"};

} // namespace vanmoor::wsd
