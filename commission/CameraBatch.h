#pragma once

#include "BatchAssign.h"
#include "CredentialsBook.h"
#include "HttpTransport.h"
#include "ReadCamera.h"

#include <chrono>
#include <string>
#include <vector>

namespace vanmoor::commission {

// How the cameras of a batch are reached: those found by WS-Discovery whose settings change
// through their device service.
struct CameraBatchOptions {
    int concurrency = 8; // cameras read or changed at once
    std::chrono::seconds verifyWait{120};
    onvif::TransportOptions transport;
    std::vector<std::string> watchAddresses; // the local addresses the search used; empty: all
};

// Reads every camera of `site` that offers a device service and has credentials in `book`,
// `options.concurrency` at a time, and takes each read into its record
// (site::TakeDeviceServiceRead), which then has its MAC and settings and is planned like every
// other device. One CameraRead per camera tried, in the order of `site`, for telling why some could
// not be read.
std::vector<CameraRead> ReadCameras(std::vector<SiteDevice>& site, const CredentialsBook& book,
                                    const CameraBatchOptions& options);

} // namespace vanmoor::commission
