#pragma once

#include "SimDevice.h"

#include <cstdint>
#include <span>

namespace vanmoor::devsim {

enum class DatagramKind {
    SearchRequest,   // answered by every device of the protocol
    SettingsCommand, // obeyed by the device whose MAC it names
    Other,           // ignored
};

// What a datagram received on the protocol's port asks of the devices. Port 4022: the 72-byte
// search request and the 74-byte command both start with "PCEdit"; the request also has 0x02 at
// offsets 6, 25, 32 and 60. Port 32970: 328 bytes, kind byte 14 is 0x01 (search) or 0x00
// (command).
DatagramKind ClassifyDatagram(Protocol protocol, std::span<const std::uint8_t> datagram);

const char* DatagramKindName(DatagramKind kind);

} // namespace vanmoor::devsim
