#pragma once

#include "transport/ParserBase.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace vanmoor::fuzz {

// A datagram as the endpoint's receive loop hands it to a parser: a zeroed buffer of
// kBufferSize bytes holding the received bytes, and the number received.
struct ReceivedDatagram {
    std::unique_ptr<char[]> buffer;
    int length = 0;
};

// Nothing for a datagram longer than the buffer: the endpoint drops those (EMSGSIZE).
inline std::optional<ReceivedDatagram> Receive(std::span<const std::uint8_t> datagram) {
    if (datagram.size() > static_cast<std::size_t>(CParserBase::kBufferSize)) {
        return std::nullopt;
    }
    auto buffer = std::make_unique<char[]>(CParserBase::kBufferSize);
    std::copy(datagram.begin(), datagram.end(), buffer.get());
    return ReceivedDatagram{std::move(buffer), static_cast<int>(datagram.size())};
}

} // namespace vanmoor::fuzz
