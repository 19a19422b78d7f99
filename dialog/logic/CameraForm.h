#pragma once

#include "ChangePlan.h"
#include "SettingsForm.h"
#include "SiteRecord.h"

namespace kestrun {

// What Submit asks of a camera read through its device service: only the fields the user changed
// from what the read showed, so that a setting the camera did not tell (shown as an empty field)
// is never sent as zeros. Under DHCP the address, netmask and gateway are the server's and go
// unsent. `port` is the form's checked web port.
vanmoor::onvif::SettingsChange CameraChangeOfForm(const vanmoor::settings::SettingsForm& form,
                                                  int port, const vanmoor::site::SiteDevice& shown);

} // namespace kestrun
