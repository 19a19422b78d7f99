#pragma once

#include "DatagramKind.h"
#include "SettingsCommand.h"
#include "SimDevice.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
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

// The login a request to a device's web service carried.
enum class LoginSeen { None, Digest, UsernameToken, Both };

const char* LoginSeenName(LoginSeen login); // "none", "digest", "wsse", "both"

// One request to a device's web service and what the device made of it.
struct ServiceRequest {
    std::size_t device;    // index of the device
    std::string operation; // the local name of the Body's element, "" for no SOAP request
    LoginSeen login;
    bool accepted; // the login held, or the operation needs none; false for both at once
    Ipv4 sourceAddress;
    Clock::time_point time;
};

// Called as events are recorded: datagrams and commands on the simulator's receive thread,
// web service requests on the web servers' threads.
struct Observer {
    std::function<void(const ReceivedDatagram&)> onDatagram;
    std::function<void(const CommandEvent&)> onCommand;
    std::function<void(const ServiceRequest&)> onServiceRequest;
};

} // namespace vanmoor::devsim
