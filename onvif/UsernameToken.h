#pragma once

#include "Credentials.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vanmoor::onvif {

// The wsse:Security header of a SOAP request holding a UsernameToken with PasswordDigest
// (WS-Security UsernameToken Profile 1.0): Base64(SHA-1(nonce + created + password)) over the
// nonce's bytes and the UTF-8 bytes of the others. The password itself is never written.
std::string UsernameTokenHeader(const Credentials& credentials, std::span<const std::uint8_t> nonce,
                                std::chrono::sys_seconds created);

// The same with a fresh random 16-byte nonce; none when the platform gives no random bytes.
std::optional<std::string> FreshUsernameTokenHeader(const Credentials& credentials,
                                                    std::chrono::sys_seconds created);

} // namespace vanmoor::onvif
