#pragma once

#include "SimDevice.h"

#include <optional>
#include <string>
#include <string_view>

namespace vanmoor::devsim {

// "192.0.2.10": four decimal numbers 0..255.
std::optional<Ipv4> ParseIpv4(std::string_view text);
// "02:00:5e:10:00:01" (or with "-"): six two-digit hexadecimal numbers.
std::optional<Mac> ParseMac(std::string_view text);

std::string FormatIpv4(const Ipv4& address);
std::string FormatMac(const Mac& mac); // lowercase, colon-separated

} // namespace vanmoor::devsim
