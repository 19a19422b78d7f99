#pragma once

#include "DigestCheck.h"
#include "Observation.h"
#include "SimDevice.h"
#include "TokenLogin.h"

#include <cstddef>

namespace vanmoor::devsim {

// The logins of one device, kept while its web server moves, so that a nonce stays used.
struct DeviceLogins {
    DigestLogin digest{"device service"};
    TokenLogin token;
};

// What a device's web server asks of the devices it serves; called on its threads.
class ServiceDevices {
public:
    virtual ~ServiceDevices() = default;

    virtual SimDevice Read(std::size_t index) = 0;
    virtual void Record(ServiceRequest request) = 0;
    // Takes changed settings, moving the device's address and server shortly after the answer
    // has left when they changed. Throws std::invalid_argument for settings the device cannot
    // hold.
    virtual void Change(std::size_t index, SimDevice changed) = 0;
    // Keeps a new address, netmask and DHCP setting for the next reboot.
    virtual void KeepForReboot(std::size_t index, const SimDevice& changed) = 0;
    // Stops answering shortly after the answer has left, for the device's reboot pause, then
    // serves again with the settings kept for the reboot.
    virtual void Reboot(std::size_t index) = 0;
};

} // namespace vanmoor::devsim
