#pragma once

#include <string>

namespace vanmoor::wsd {

// A fresh "urn:uuid:" message identifier: a random (version 4) UUID from a generator seeded
// by the system's random device, so that no two probes of any run share one.
std::string NewMessageId();

} // namespace vanmoor::wsd
