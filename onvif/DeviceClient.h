#pragma once

#include "CameraSettings.h"
#include "ChangePlan.h"
#include "SoapCaller.h"

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::onvif {

// How a read ended: complete (some operations may have left their fields unknown), or stopped
// because the camera refused the login or could not be reached.
enum class ReadEnd { Complete, LoginRefused, Unreachable };

struct ReadResult {
    ReadEnd end = ReadEnd::Complete;
    CameraSettings settings;
    std::string detail; // why the read stopped
    // Each operation that left its fields unknown, with why: "GetDNS: ...".
    std::vector<std::string> unread;
};

enum class ChangeEnd {
    Sent,       // every step was answered as done (none when nothing differs); not yet seen done
    NotSent,    // the change could not be planned; nothing was sent
    StepFailed, // `failedStep` failed; the steps before it were answered as done
};

struct ChangeResult {
    ChangeEnd end = ChangeEnd::Sent;
    std::vector<ChangeStep> sent; // the steps answered as done, in order
    std::optional<ChangeStep> failedStep;
    std::string problem;
    // The camera takes its new interface settings only after SystemReboot.
    bool rebootNeeded = false;
};

// Reads and changes a camera's settings through its device service, one SOAP call at a time
// over `caller` (which owns the login and the camera's address).
class DeviceClient {
public:
    // `reachedAt`: the address the camera is reached at, which picks its interface.
    DeviceClient(SoapCaller& caller, std::optional<Ipv4Octets> reachedAt);

    ReadResult Read();
    // Sends the steps of the change from the settings `read` before, in their order, and
    // stops at the first that fails.
    ChangeResult Change(const CameraSettings& read, const SettingsChange& change);
    // SystemReboot: empty when the camera said it reboots, else why not.
    std::string Reboot();

private:
    // The answered body, or the problem in words (and the call's outcome) when it was not.
    struct Exchange {
        CallResult call;
        std::string problem;
    };
    Exchange Send(const DeviceRequest& request);

    SoapCaller& m_caller;
    std::optional<Ipv4Octets> m_reachedAt;
};

} // namespace vanmoor::onvif
