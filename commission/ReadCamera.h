#pragma once

#include "CameraChange.h"
#include "SiteDevice.h"

#include <string>

namespace vanmoor::commission {

// How reading a camera through its device service ended.
enum class CameraReadEnd {
    Read,             // `access.read` holds what it told
    NoDeviceService,  // none of its XAddrs is an http or https URL on the address it answered from
    LoginRefused,     // the camera refused the credentials (`detail` names the clock when likely)
    Unreachable,      // no answer at its device service URL
    NotDeviceService, // an answer, but nothing a device service would say
};

struct CameraRead {
    CameraReadEnd end = CameraReadEnd::NoDeviceService;
    CameraAccess access; // what a change starts from; `read` filled only when Read
    std::string detail;  // why it was not read, in words for the user
};

// The device service URL of a camera found by WS-Discovery: its first http or https XAddr on the
// address it answered from. Credentials go only there: its XAddrs are its own word and may name
// another host. Empty when it offers none.
std::string DeviceServiceUrl(const SiteDevice& device);

// Reads `device` (a camera with WS-Discovery details) through its device service with
// `credentials`. The caller takes the read into its record (site::TakeDeviceServiceRead) where
// it keeps one. Safe to call from several threads, each with its own transport.
CameraRead ReadCamera(HttpTransport& transport, const SiteDevice& device,
                      const Credentials& credentials, const HttpLimits& limits = {});

} // namespace vanmoor::commission
