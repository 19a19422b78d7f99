#pragma once

#include "Limits.h"
#include "Message.h"
#include "ReadError.h"
#include "XmlReader.h"

#include <string_view>

namespace vanmoor::wsd {

struct ParseResult {
    ReadError error = ReadError::None;
    Message message; // meaningful only without an error
};

// Reads one datagram as a Probe, ProbeMatches, Hello or Bye.
ParseResult ParseMessage(std::string_view datagram, const XmlReader& reader,
                         const Limits& limits = {});

} // namespace vanmoor::wsd
