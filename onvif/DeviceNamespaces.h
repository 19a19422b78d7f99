#pragma once

#include <string_view>

namespace vanmoor::onvif {

// The namespaces of the device service's requests and answers and of their logins.
inline constexpr std::string_view kDeviceNamespace = "http://www.onvif.org/ver10/device/wsdl";
inline constexpr std::string_view kSchemaNamespace = "http://www.onvif.org/ver10/schema";
inline constexpr std::string_view kErrorNamespace = "http://www.onvif.org/ver10/error";
inline constexpr std::string_view kWsSecurityNamespace =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
inline constexpr std::string_view kWsUtilityNamespace =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd";

} // namespace vanmoor::onvif
