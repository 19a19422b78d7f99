#include "DatagramKind.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vanmoor::devsim {

namespace {

constexpr std::size_t kSearchLength4022 = 72;
constexpr std::size_t kCommandLength4022 = 74;
constexpr std::size_t kDatagramLength32970 = 328;

bool StartsWithPcEdit(std::span<const std::uint8_t> datagram) {
    constexpr std::string_view prefix = "PCEdit";
    return datagram.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), datagram.begin());
}

DatagramKind Classify4022(std::span<const std::uint8_t> datagram) {
    if (!StartsWithPcEdit(datagram)) {
        return DatagramKind::Other;
    }
    if (datagram.size() == kCommandLength4022) {
        return DatagramKind::SettingsCommand;
    }
    constexpr std::array<std::size_t, 4> fixedOffsets{6, 25, 32, 60};
    const bool fixedBytes =
        datagram.size() == kSearchLength4022 &&
        std::all_of(fixedOffsets.begin(), fixedOffsets.end(),
                    [&](std::size_t offset) { return datagram[offset] == 0x02; });
    return fixedBytes ? DatagramKind::SearchRequest : DatagramKind::Other;
}

DatagramKind Classify32970(std::span<const std::uint8_t> datagram) {
    if (datagram.size() != kDatagramLength32970) {
        return DatagramKind::Other;
    }
    switch (datagram[14]) {
    case 0x01:
        return DatagramKind::SearchRequest;
    case 0x00:
        return DatagramKind::SettingsCommand;
    default:
        return DatagramKind::Other;
    }
}

} // namespace

DatagramKind ClassifyDatagram(Protocol protocol, std::span<const std::uint8_t> datagram) {
    return protocol == Protocol::Port4022 ? Classify4022(datagram) : Classify32970(datagram);
}

const char* DatagramKindName(DatagramKind kind) {
    switch (kind) {
    case DatagramKind::SearchRequest:
        return "search";
    case DatagramKind::SettingsCommand:
        return "command";
    case DatagramKind::Other:
        break;
    }
    return "other";
}

} // namespace vanmoor::devsim
