#pragma once

#include "MessageParser.h"

#include <string>
#include <string_view>

namespace vanmoor::wsd::test {

// Reads `datagram` through the platform's reader with the default bounds.
ParseResult Parse(std::string_view datagram, const Limits& limits = {});

// A SOAP 1.2 envelope with the prefixes most devices use (SOAP-ENV, wsa, wsdd, tdn, tds).
std::string Envelope(std::string_view header, std::string_view body);

// Header blocks of a reply.
std::string ReplyHeader(std::string_view messageId, std::string_view relatesTo,
                        std::string_view action);

// One ProbeMatch (or the inside of a Hello) for `endpoint` at `xaddr`.
std::string Match(std::string_view endpoint, std::string_view xaddr);

// A whole ProbeMatches datagram with one match.
std::string ProbeMatches(std::string_view messageId, std::string_view relatesTo,
                         std::string_view endpoint, std::string_view xaddr);

} // namespace vanmoor::wsd::test
