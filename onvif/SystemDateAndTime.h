#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace vanmoor::onvif {

// The camera's clock from the answer's SystemDateAndTime/UTCDateTime; none when the answer has
// none or its date or time is not a real one.
std::optional<std::chrono::sys_seconds> ReadCameraUtc(std::string_view envelope);

// How far the camera's clock is ahead of this computer's (negative: behind). The camera told
// its time somewhere between the request and the answer, so it is set against this computer's
// time halfway through the call: `sent` the wall time at sending, `elapsed` the call's
// duration on a monotonic clock, immune to the wall clock being set meanwhile. The camera's
// time is whole seconds, so its own middle of that second is taken.
std::chrono::milliseconds ClockOffset(std::chrono::sys_seconds cameraUtc,
                                      std::chrono::system_clock::time_point sent,
                                      std::chrono::steady_clock::duration elapsed);

} // namespace vanmoor::onvif
