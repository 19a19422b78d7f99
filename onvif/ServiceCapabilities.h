#pragma once

#include "XmlReader.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace vanmoor::onvif {

// GetServiceCapabilities of the device service, which cameras answer without a login.
inline constexpr std::string_view kGetServiceCapabilitiesAction =
    "http://www.onvif.org/ver10/device/wsdl/GetServiceCapabilities";
inline constexpr std::string_view kGetServiceCapabilitiesRequest =
    "<tds:GetServiceCapabilities xmlns:tds=\"http://www.onvif.org/ver10/device/wsdl\"/>";

// The logins the camera offers, from the Security capabilities' attributes; each unknown when
// missing or not an xs:boolean.
struct LoginOffer {
    std::optional<bool> httpDigest;
    std::optional<bool> usernameToken;

    bool UsernameTokenOnly() const { return usernameToken == true && httpDigest != true; }
};

// None when the answer holds no Security capabilities.
std::optional<LoginOffer> ReadLoginOffer(std::string_view envelope, const wsd::XmlReader& reader,
                                         std::size_t maxBytes);

// An xs:boolean: true, false, 1 or 0 with white space around; none for anything else.
std::optional<bool> XmlBoolean(std::string_view text);

} // namespace vanmoor::onvif
