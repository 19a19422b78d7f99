#pragma once

#include "ReplyPlan.h"
#include "SimDevice.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::devsim {

struct ProgramOptions {
    std::vector<SimDevice> devices;
    ReplyPlan plan;
    std::string capturePath; // empty: no capture; "-": standard output
    bool verbose = false;
    bool ready = false;
    std::optional<std::chrono::milliseconds> duration; // unset: until SIGINT or SIGTERM
    bool help = false;
    bool version = false;
};

// Throws std::invalid_argument with a message for the user.
ProgramOptions ParseProgramOptions(int argc, const char* const* argv);

const char* UsageText();

} // namespace vanmoor::devsim
