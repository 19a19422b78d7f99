#pragma once

#include <string>
#include <string_view>

namespace vanmoor::onvif {

// The path and query of an http or https URL as the request line carries them ("/" when the
// URL has no path; no fragment): what HTTP Digest hashes as its uri. The transport sends the
// path as it is written, so the two agree byte for byte.
std::string RequestTarget(std::string_view url);

} // namespace vanmoor::onvif
