#pragma once

#include "DeviceReading.h"
#include "Session.h"

#include <string>

namespace vanmoor::cli {

// The MAC that a command names, as a person typed it; throws a usage error when malformed.
MacBytes ParseMacArgument(const std::string& text);

// Searches for the device; throws CliError(Failed) naming the MAC when it does not answer.
DeviceInfo FindDevice(Session& session, const MacBytes& mac);

} // namespace vanmoor::cli
