#pragma once

#include <chrono>
#include <string>

namespace vanmoor::onvif {

// A camera's clock offset in words for a message: "1 h 0 min ahead of this computer's",
// "12 s behind this computer's"; less than half a second apart, "the same as this computer's".
std::string ClockOffsetText(std::chrono::milliseconds offset);

} // namespace vanmoor::onvif
