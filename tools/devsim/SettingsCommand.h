#pragma once

#include "SimDevice.h"

#include <cstdint>
#include <span>

namespace vanmoor::devsim {

enum class CommandOutcome {
    Applied,         // the device took the command's values
    NothingToChange, // port 4022: no change flag was set
    WrongDigest,     // port 32970: the digest does not match the device's credentials
    NoSuchDevice,    // no device of the protocol has the command's MAC
    Dropped,         // the device had commands left to drop and dropped this one
};

const char* CommandOutcomeName(CommandOutcome outcome);

// The MAC address a settings command is meant for (offset 15 in both protocols).
Mac CommandTarget(std::span<const std::uint8_t> command);

// Obeys a settings command of the device's protocol, as classified by ClassifyDatagram, that
// names this device's MAC. Port 4022: takes the values whose change flags are 1. Port 32970:
// takes every value when the digest at 134 is the MD5 of the decimal number at byte 133, the
// user name, ":" and the password; otherwise changes nothing. A device with commands left to
// drop counts one down and changes nothing else.
CommandOutcome ApplySettingsCommand(SimDevice& device, std::span<const std::uint8_t> command);

} // namespace vanmoor::devsim
