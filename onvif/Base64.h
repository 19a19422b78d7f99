#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vanmoor::onvif {

// Base64 with padding (RFC 4648, section 4), as WS-Security writes nonces and digests.
std::string Base64(std::span<const std::uint8_t> bytes);
std::string Base64(std::string_view bytes);

} // namespace vanmoor::onvif
