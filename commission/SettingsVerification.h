#pragma once

#include "SettingsForm.h"
#include "SiteDevice.h"

#include <string>
#include <vector>

namespace vanmoor::commission {

// What the device's answer `seen` shows differently from the settings `sent` with `port`, one
// text per field ("ip is 'a.b.c.d', not 'e.f.g.h'"); empty when it took them. With DHCP on, the
// addresses are the DHCP server's to choose and not compared. Devices never answer a settings
// command, so a later search is the only proof that one arrived.
std::vector<std::string> SettingsDifferences(const SiteDevice& seen,
                                             const settings::SettingsForm& sent, int port);

} // namespace vanmoor::commission
