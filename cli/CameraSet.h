#pragma once

#include "Command.h"
#include "Session.h"
#include "SettingsChange.h"

#include <chrono>

namespace vanmoor::cli {

// The verification wait of a camera's change: --verify-wait SECONDS.
inline constexpr const char* kVerifyWaitOption = "--verify-wait";
std::chrono::seconds VerifyWait(const Arguments& arguments);

// `set` for a camera found by WS-Discovery alone: read through its device service with the
// command's credentials, then changed and verified (commission::CameraChange). Exit status 0
// only when the camera was seen with the new settings, or already had them.
ExitStatus SetCamera(const CommandContext& context, const Arguments& arguments, DeviceInfo device,
                     const SettingsChange& change, OutputFormat format, Session& session);

} // namespace vanmoor::cli
