#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vanmoor {

// Port-32970 protocol: every datagram is 328 bytes and starts with the same 15-byte header.
inline constexpr int kPort32970 = 32970;
inline constexpr std::size_t kDatagram32970Size = 328;
using Datagram32970 = std::array<char, kDatagram32970Size>;

// Byte 14 of the header tells what the datagram is.
enum class Kind32970 : std::uint8_t {
    SettingsCommand = 0x00,
    SearchRequest = 0x01,
    Reply = 0x02,
};
inline constexpr std::size_t kKind32970Offset = 14;

// A datagram of zeros with the header: "3297", "V1.00" padded to 8 bytes, length, kind.
Datagram32970 MakeDatagram32970(Kind32970 kind);

} // namespace vanmoor
