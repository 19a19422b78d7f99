#pragma once

#include "FuzzCheck.h"
#include "ParserTestSupport.h"
#include "ReceivedDatagram.h"
#include "ReplyModel.h"

namespace vanmoor::fuzz {

// Parses one datagram with a `Parser` of `port` as the endpoint's receive loop does, then checks
// that the parser handed over exactly the record the reply stands for.
template <class Parser>
void ParseOneReply(std::span<const std::uint8_t> datagram, int port,
                   std::optional<ExpectedReply> (*expect)(std::span<const std::uint8_t>)) {
    std::optional<ReceivedDatagram> received = Receive(datagram);
    if (!received) {
        return;
    }
    const std::string localIP = "192.0.2.1";
    test::RecordingSink sink;
    Parser parser(&sink);
    parser.ParserPackage(std::move(received->buffer), received->length, localIP, port);

    const std::optional<ExpectedReply> expected = expect(datagram);
    Require(sink.records.size() == (expected ? 1u : 0u), "one record per valid reply, none else");
    if (expected) {
        CheckRecord(*sink.records.front(), *expected, localIP);
    }
}

} // namespace vanmoor::fuzz
