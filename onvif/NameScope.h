#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::onvif {

// The scope that names a camera: onvif://www.onvif.org/name/ and the name's UTF-8 bytes
// percent-encoded (everything but letters, digits and - . _ ~), so that any name is one URI.
std::string NameScope(std::string_view name);

// The configurable scopes with the first name scope among them replaced by the one of `name`,
// or that scope added after them when there is none; every other scope stays as it is.
std::vector<std::string> ScopesWithName(const std::vector<std::string>& configurable,
                                        std::string_view name);

} // namespace vanmoor::onvif
