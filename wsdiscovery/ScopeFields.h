#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::wsd {

// What the camera scope URIs onvif://www.onvif.org/name/..., /hardware/... and
// /location/... tell, percent-decoded; the first scope of each kind counts.
struct ScopeFields {
    std::string name;
    std::string hardware;
    std::string location;
};

ScopeFields ReadScopeFields(const std::vector<std::string>& scopes);

// `text` with each %HH replaced by its byte; a % not followed by two hex digits stays as it is.
std::string PercentDecoded(std::string_view text);

} // namespace vanmoor::wsd
