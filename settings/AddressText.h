#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vanmoor::settings {

using Ipv4Octets = std::array<std::uint8_t, 4>;
using MacBytes = std::array<std::uint8_t, 6>;

// "a.b.c.d" as four octets: each is the low 8 bits of the decimal number that starts the text
// or follows the next "."; octets without a "." before them are 0. This is how the library's
// address texts are read back; it accepts anything.
Ipv4Octets OctetsFromDottedText(std::string_view text);

// "a-b-c-d-e-f" (six decimal numbers, as the library writes a MAC address) as six bytes, read
// the same way.
MacBytes MacFromDashedText(std::string_view text);

// "00:11:22:33:44:55" with lower-case hex digits.
std::string MacColonText(const MacBytes& mac);

// "a.b.c.d" without leading zeros.
std::string DottedText(const Ipv4Octets& octets);

// Text typed by a person: exactly four decimal numbers 0..255 parted by "."; nothing else.
std::optional<Ipv4Octets> ParseDottedAddress(std::string_view text);

// Text typed by a person: six pairs of hex digits parted by ":" or "-" (either case).
std::optional<MacBytes> ParseMacText(std::string_view text);

// True for a text that names a device by its endpoint reference (a URI: urn:uuid:...) rather
// than its MAC.
bool IsEndpointReference(std::string_view text);

} // namespace vanmoor::settings
