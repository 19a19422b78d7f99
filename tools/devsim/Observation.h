#pragma once

#include "DatagramKind.h"
#include "SettingsCommand.h"
#include "SimDevice.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vanmoor::devsim {

using Clock = std::chrono::steady_clock;

// A datagram the simulator received (its own replies coming back are not among them), recorded
// after the devices acted on it.
struct ReceivedDatagram {
    Protocol protocol; // the port it arrived on
    DatagramKind kind;
    std::vector<std::uint8_t> bytes;
    Ipv4 sourceAddress;
    std::uint16_t sourcePort;
    Clock::time_point time;
    std::size_t repliesScheduled; // replies this datagram caused, repeats included
};

// What one device did with a settings command; one event per device of the protocol with the
// command's MAC, or a single NoSuchDevice event when there is none.
struct CommandEvent {
    Protocol protocol;
    Mac target;
    CommandOutcome outcome;
    std::optional<std::size_t> device; // index of the device; none for NoSuchDevice
    Clock::time_point time;
};

// Called on the simulator's receive thread as events are recorded.
struct Observer {
    std::function<void(const ReceivedDatagram&)> onDatagram;
    std::function<void(const CommandEvent&)> onCommand;
};

} // namespace vanmoor::devsim
