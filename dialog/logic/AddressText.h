#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrun {

using Ipv4Octets = std::array<std::uint8_t, 4>;
using MacBytes = std::array<std::uint8_t, 6>;

// "a.b.c.d" as four octets: each is the low 8 bits of the decimal number that starts the text
// or follows the next "."; octets without a "." before them are 0.
Ipv4Octets OctetsFromDottedText(std::string_view text);

// "a-b-c-d-e-f" (six decimal numbers, as the library writes a MAC address) as six bytes, read
// the same way.
MacBytes MacFromDashedText(std::string_view text);

// "00:11:22:33:44:55" with lower-case hex digits.
std::string MacColonText(const MacBytes& mac);

} // namespace kestrun
