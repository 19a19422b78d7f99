#pragma once

#include <optional>
#include <string_view>

namespace vanmoor::onvif {

// The logins the camera offers, from the Security capabilities' attributes; each unknown when
// missing or not an xs:boolean.
struct LoginOffer {
    std::optional<bool> httpDigest;
    std::optional<bool> usernameToken;

    bool UsernameTokenOnly() const { return usernameToken == true && httpDigest != true; }
};

// None when the answer holds no Security capabilities.
std::optional<LoginOffer> ReadLoginOffer(std::string_view envelope);

} // namespace vanmoor::onvif
