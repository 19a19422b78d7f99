#pragma once

#include <chrono>
#include <string>

namespace vanmoor::onvif {

// `time` as xs:dateTime in UTC to the second: YYYY-MM-DDThh:mm:ssZ.
std::string UtcTimestamp(std::chrono::sys_seconds time);

} // namespace vanmoor::onvif
