#pragma once

#include "core/DeviceRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vanmoor::fuzz {

// What a device reply carries, read straight from the datagram at the offsets of its layout:
// the independent model that parsed records are checked against.
struct ExpectedReply {
    std::uint8_t protocol = 0; // 0: port 4022, 1: port 32970
    int length = 0;
    MacBytes mac{};
    Ipv4Bytes ip{};
    Ipv4Bytes netmask{};
    Ipv4Bytes gateway{};
    std::array<char, 23> name{}; // the bytes getName returns
};

// The reply a datagram of each port stands for, or nothing when its parser must refuse it.
std::optional<ExpectedReply> ExpectReply4022(std::span<const std::uint8_t> datagram);
std::optional<ExpectedReply> ExpectReply32970(std::span<const std::uint8_t> datagram);

// Aborts unless `record` holds what `expected` says and keeps its text fields terminated.
void CheckRecord(const DeviceRecord& record, const ExpectedReply& expected,
                 const std::string& localIP);

} // namespace vanmoor::fuzz
