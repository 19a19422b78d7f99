#pragma once

#include "../core/DeviceRecord.h"
#include "../include/vanmoor.h"

#include <array>
#include <cstddef>

namespace vanmoor {

// "MAC 錯誤\n" (MAC error) in Big5, logged when no device took a port-4022 settings command.
inline constexpr char kMacErrorBig5[] = "MAC \xbf\xf9\xbb\x7e\n";

inline constexpr std::size_t kSetCommandSize = 74;
using SetCommand = std::array<char, kSetCommandSize>;

// The port-4022 settings command for the device of `record`. Compares the new values with the
// record in a fixed order (address, netmask, gateway, name, port, DNS servers, DHCP), logs each
// change, writes it into the record and flags it in the command. Address, netmask and MAC are
// always carried; the other values only when they changed.
SetCommand BuildSetCommand(DeviceRecord& record, const NetSettings& sInfo);

} // namespace vanmoor
