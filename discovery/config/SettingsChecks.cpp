#include "SettingsChecks.h"

#include "../core/LibraryLog.h"

#include <algorithm>

namespace vanmoor {

namespace {

bool IsZeroAddress(Ipv4Octets address) {
    return std::all_of(address.begin(), address.end(), [](std::uint8_t b) { return b == 0; });
}

bool GatewayInSubnet(const NewAddressValues& values) {
    for (std::size_t i = 0; i < 4; ++i) {
        if ((values.ip[i] & values.netmask[i]) != (values.gateway[i] & values.netmask[i])) {
            return false;
        }
    }
    return true;
}

const char* RefusalReason(const NewAddressValues& values) {
    if (IsZeroAddress(values.ip)) {
        return "IP = 0.0.0.0\n";
    }
    if (values.ip[3] == 0 || values.ip[3] == 255) {
        return "IP entend limit\n";
    }
    if (values.port < 0) {
        return "port < 0\n";
    }
    if (values.port > 65536) {
        return "port > 65536\n";
    }
    // A gateway of 0.0.0.0 means the device has none.
    if (!GatewayInSubnet(values) && !IsZeroAddress(values.gateway)) {
        return "No Match, IP and GateWay\n";
    }
    return nullptr;
}

} // namespace

bool CheckNewAddressValues(const char* logPrefix, const NewAddressValues& values) {
    const char* reason = RefusalReason(values);
    if (reason != nullptr) {
        WriteLog("%s%s", logPrefix, reason);
        return false;
    }
    return true;
}

} // namespace vanmoor
