#pragma once

#include "CameraSettings.h"
#include "DeviceRequests.h"

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::onvif {

// New settings for a camera; a field not given keeps the value read from the camera.
struct SettingsChange {
    std::optional<Ipv4Octets> address;
    std::optional<Ipv4Octets> netmask;
    std::optional<Ipv4Octets> gateway;
    std::optional<Ipv4Octets> dns1;
    std::optional<Ipv4Octets> dns2;
    std::optional<std::uint16_t> httpPort;
    std::optional<std::string> name;
    std::optional<bool> dhcp;
};

// The steps of a change, in the order they are sent: everything that the camera keeps at its
// present address first, the interface (address, netmask, DHCP) last, so that no setting has
// to be sent to an address that may have gone.
enum class ChangeStep { Name, Dns, Gateway, Port, Interface };

const char* ChangeStepText(ChangeStep step);

struct PlannedStep {
    ChangeStep step;
    DeviceRequest request;
};

// The requests of a change: only the steps whose settings differ from those read. `problem`
// tells why the change cannot be sent at all (then there are no steps): a value it must keep
// was not read, or the change contradicts itself.
struct ChangePlan {
    std::vector<PlannedStep> steps;
    std::string problem;
};

ChangePlan PlanChange(const CameraSettings& read, const SettingsChange& change);

} // namespace vanmoor::onvif
