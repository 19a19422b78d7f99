#pragma once

#include "MessageText.h"
#include "SiteDevice.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vanmoor::commission {

enum class FindingKind {
    DuplicateAddress, // another device, or the host itself, answers with the same address
    Unreachable,      // outside the subnet of the host address it was found through
    BadSettings,      // gateway outside the subnet, a bad or empty netmask, network/broadcast,
                      // an address no device can use (multicast, loopback, ...)
    DuplicateName,
};

enum class Severity { Warning, Error };

// One thing wrong with one device.
struct Finding {
    MacBytes mac{};
    FindingKind kind = FindingKind::DuplicateAddress;
    Severity severity = Severity::Error;
    MessageText message; // one sentence naming what is wrong and, where known, the fix
    // The device's position in the list CheckSite was given: devices without a MAC (found by
    // WS-Discovery alone) are told apart by it.
    std::size_t device = 0;
};

// "duplicate address", "unreachable", "bad settings", "duplicate name": stable, for scripts.
const char* FindingKindText(FindingKind kind);
// "error" or "warning".
const char* SeverityText(Severity severity);

// Every finding over the devices of one search (or several merged by MAC), device by device
// in the order given. `host` lists the host's own addresses.
std::vector<Finding> CheckSite(const std::vector<SiteDevice>& devices,
                               const std::vector<HostAddress>& host);

bool HasError(const std::vector<Finding>& findings);
bool HasErrorFor(const std::vector<Finding>& findings, const MacBytes& mac);

} // namespace vanmoor::commission
