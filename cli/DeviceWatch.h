#pragma once

#include "DeviceReading.h"

#include <vector>

namespace vanmoor::cli {

// Follows the devices from search to search, matched by MAC (by endpoint reference for a
// device found by WS-Discovery alone), and tells what changed: a new
// device, a device gone (not seen for two searches in a row), a device whose address, name or
// port changed (after DHCP gave it a new address, for example).
class DeviceWatch {
public:
    // The events of one more search, as records with the keys of EventKeys().
    std::vector<Record> Update(const std::vector<DeviceInfo>& found, const std::string& time);
    // A WS-Discovery Hello (`arrived`) or Bye between searches: a camera not known yet is new,
    // and ages out like any device when the searches do not find it. Anyone on the LAN can send
    // either, so a Bye ends only a camera known from WS-Discovery alone: a device that answers
    // a device protocol is gone only when its searches say so.
    std::vector<Record> Announce(const DeviceInfo& device, bool arrived, const std::string& time);

    static const std::vector<std::string>& EventKeys();

private:
    struct Tracked {
        DeviceInfo device;
        int missed = 0; // searches in a row without an answer
    };

    std::vector<Tracked>::iterator Known(const DeviceInfo& device);

    std::vector<Tracked> m_Known;
};

} // namespace vanmoor::cli
