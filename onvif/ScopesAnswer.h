#pragma once

#include "CameraSettings.h"

#include <string>
#include <string_view>

namespace vanmoor::onvif {

// Scopes of one answer. A name change sends every configurable scope back, so an answer with
// more, or with a scope that could not go back as it came, is refused rather than cut.
inline constexpr std::size_t kMaxScopes = 64;

// GetScopes' answer: the name from the first name scope (fixed or configurable), and every
// configurable scope in order.
std::string ReadScopes(std::string_view envelope, CameraSettings& into);

} // namespace vanmoor::onvif
