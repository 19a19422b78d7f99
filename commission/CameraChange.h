#pragma once

#include "CameraSettings.h"
#include "ChangePlan.h"
#include "Credentials.h"
#include "EndpointWatch.h"
#include "HttpTransport.h"
#include "MessageText.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vanmoor::commission {

using onvif::CameraSettings;
using onvif::ChangeStep;
using onvif::Credentials;
using onvif::HttpLimits;
using onvif::HttpTransport;
using onvif::Ipv4Octets;
using onvif::SettingsChange;

// One camera as found and read: what a change starts from.
struct CameraAccess {
    std::string endpoint;         // its endpoint reference (urn:uuid:...)
    std::string deviceServiceUrl; // an http or https XAddr on `address`
    Ipv4Octets address{};         // where it answered
    Credentials credentials;
    CameraSettings read; // as read through the device service just before
};

// How a change of a camera's settings ended. Only Changed says the camera took them.
enum class ChangeVerdict {
    Changed,         // seen with every new setting, at its new address where that changed
    NothingToChange, // every setting given is the camera's already; nothing was sent
    NotSent,         // refused before anything was sent: the settings rule, or a change the
                     // camera's settings as read cannot take (`detail` says why)
    LoginRefused,    // the camera refused the credentials; nothing was changed
    Failed,          // a step was refused or lost (`sent` holds the steps answered as done)
    NotConfirmed,    // the camera was not seen with the new settings within the wait: it did
                     // not come back, or a step was lost on the way
    Kept,            // every step was answered as done, but the camera still answers with its
                     // old settings (where it moved nowhere: at its old address)
};

const char* ChangeVerdictText(ChangeVerdict verdict);

struct CameraChangeResult {
    ChangeVerdict verdict = ChangeVerdict::NotSent;
    std::vector<ChangeStep> sent; // the steps answered as done, in order
    bool rebooted = false;        // SystemReboot was sent for a change that needed it
    CameraSettings seen;          // as read after the change, where it was read again
    std::string detail;           // what happened, in words for the user
};

// What a change is doing now, for a progress line or Kestrun's status.
enum class ChangeProgress { Sending, Rebooting, WaitingForCamera, Verifying };

// Changes a camera's settings through its device service and verifies them. The settings rule
// (WhySettingsRefused, on the settings the camera will have) comes first. Name, DNS, gateway
// and port first, the interface (address, netmask, DHCP) last, at the new port when the port
// changed; SystemReboot when the camera says it takes the interface only so. The change counts
// only when the camera is seen again (its endpoint at the new address, where that changed) and
// a new read there shows every setting given. Whatever fails to show that is reported, never
// taken for success. One camera per call; calls may run on several threads, each with its own
// transport and watch.
class CameraChange {
public:
    struct Options {
        // How long the camera may take to show the new settings, a reboot included.
        std::chrono::seconds wait{120};
        HttpLimits limits;
    };

    // `transport` and `watch` must outlive the object.
    CameraChange(HttpTransport& transport, EndpointWatch& watch, Options options);

    CameraChangeResult Apply(const CameraAccess& camera, const SettingsChange& change,
                             const std::function<void(ChangeProgress)>& progress = {});

private:
    HttpTransport& m_transport;
    EndpointWatch& m_watch;
    Options m_options;
};

} // namespace vanmoor::commission
