// Fuzz target: one datagram received on the discovery port, read as a discovery message and
// given to a small device table. Whatever it holds, the result stays within the bounds, and a
// message the table took once is dropped as a repeat the second time.
#include "FuzzCheck.h"

#include "DeviceTable.h"
#include "MessageParser.h"
#include "PugiXmlReader.h"
#include "XAddrHost.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace vanmoor::wsd;
using vanmoor::fuzz::Require;

void CheckTarget(const TargetService& target, const Limits& limits) {
    Require(target.address.size() <= limits.maxTextBytes, "the address is cut to the bound");
    Require(target.types.size() <= limits.maxListItems &&
                target.scopes.size() <= limits.maxListItems &&
                target.xaddrs.size() <= limits.maxListItems,
            "lists stay within their bound");
    for (const auto& scope : target.scopes) {
        Require(!scope.empty() && scope.size() <= limits.maxTextBytes, "scopes are cut items");
    }
    Require(target.ipv4 == FirstIpv4Host(target.xaddrs),
            "the IPv4 address is the first IPv4 host of the addresses");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const PugiXmlReader reader;
    const Limits limits;
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    const ParseResult result = ParseMessage(datagram, reader, limits);
    if (result.error != ReadError::None) {
        return 0;
    }
    const Message& message = result.message;
    Require(size <= limits.maxDatagramBytes, "only datagrams within the bound are read");
    Require(message.targets.size() <= limits.maxTargets, "matches stay within their bound");
    Require(message.messageId.size() <= limits.maxTextBytes, "the message id is cut to the bound");
    for (const TargetService& target : message.targets) {
        CheckTarget(target, limits);
    }

    DeviceTable table({.maxEndpoints = 4, .recentMessageIds = 8, .ownProbes = 2});
    table.AddOwnProbe(message.relatesTo);
    const auto first = table.Apply(message, "192.0.2.1");
    Require(table.Size() <= 4, "the table stays within its bound");
    if (first.disposition == DeviceTable::Disposition::Applied && !message.messageId.empty()) {
        Require(table.Apply(message, "192.0.2.1").disposition == DeviceTable::Disposition::Repeated,
                "a message seen before is dropped");
    }
    return 0;
}
