#pragma once

#include "BatchAssign.h"
#include "CredentialsBook.h"
#include "HttpTransport.h"
#include "ReadCamera.h"

#include <chrono>
#include <cstddef>
#include <functional>
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

// Called once per camera tried as soon as its read ended, one call at a time.
using ReadProgress = std::function<void(const SiteDevice& camera, const CameraRead& read,
                                        std::size_t done, std::size_t total)>;

// Reads every camera of `site` that offers a device service and has credentials in `book`,
// `options.concurrency` at a time, and takes each read into its record
// (site::TakeDeviceServiceRead), which then has its MAC and settings and is planned like every
// other device. One CameraRead per camera tried, in the order of `site`, for telling why some could
// not be read, and for changing those that were.
std::vector<CameraRead> ReadCameras(std::vector<SiteDevice>& site, const CredentialsBook& book,
                                    const CameraBatchOptions& options,
                                    const ReadProgress& progress = {});

// The cameras of `site` with a device service that `book` has no credentials for.
std::size_t CamerasWithoutCredentials(const std::vector<SiteDevice>& site,
                                      const CredentialsBook& book);

// The report of a camera that could not be read: refused for a login refused, not found
// otherwise; `detail` says why.
AssignOutcome UnreadOutcome(const SiteDevice& camera, const CameraRead& read);

// Applies `plan`: the devices that speak a device protocol in BatchAssign's rounds over `link`
// (with `retries`), and at the same time the cameras found by WS-Discovery alone through their
// device service, each changed and verified (CameraChange) from its read in `reads`,
// `options.concurrency` at a time, so that a camera's reboot or long wait holds up no other
// device. `progress` is called once per device as soon as its result is final, one call at a
// time, from any of the threads. The outcomes come in the order of `plan`. Blocks until every
// device is done: call it off a user interface's thread.
std::vector<AssignOutcome> ApplyPlan(DeviceLink& link, const std::vector<PlannedDevice>& plan,
                                     const std::vector<CameraRead>& reads,
                                     const CredentialsBook& book, int retries,
                                     const CameraBatchOptions& options,
                                     const BatchAssign::Progress& progress = {});

} // namespace vanmoor::commission
