#pragma once

#include "CameraSettings.h"
#include "SiteRecord.h"

namespace vanmoor::site {

// Takes what a camera's device service told into its record: MAC (where no device protocol
// told one), netmask, gateway, DNS 1 and 2, DHCP, web port, brand, model and version, and the
// device service's own fields. A field the read left unknown keeps what the record held.
// The same for a camera found by WS-Discovery alone and the WS-Discovery twin of a merged device.
void TakeDeviceServiceRead(SiteDevice& device, const onvif::CameraSettings& read);

} // namespace vanmoor::site
