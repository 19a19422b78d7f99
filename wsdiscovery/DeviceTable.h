#pragma once

#include "Message.h"
#include "RecentIds.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vanmoor::wsd {

// What a scan found: one entry per endpoint reference, the latest answer winning. Replies
// count only when they relate to one of our probes, a message seen before is dropped, and
// the table never holds more than its bounds of endpoints and bytes, whatever the network
// sends. A probe's MessageID is multicast, so any host of the LAN can answer it: relating to
// our probe proves nothing, and each sending address has a bound of its own.
class DeviceTable {
public:
    struct Bounds {
        std::size_t maxEndpoints = 16384;
        // Endpoints one sending address may add: a device has one, a recorder that answers for
        // its cameras a few hundred.
        std::size_t maxEndpointsPerSender = 512;
        // What the entries may take together, counted as their texts plus a fixed cost per
        // entry and per text (the records and string objects that hold them): a flood of
        // endpoints that fill whole datagrams, or of many one-letter items, stops here.
        std::size_t maxBytes = 32 * 1024 * 1024;
        std::size_t recentMessageIds = 4096; // messages remembered to drop their repeats
        std::size_t ownProbes = 1024;        // our probes whose replies are still taken
    };

    struct Entry {
        TargetService target;
        std::string receivedOn;   // the local address the latest message came through
        std::uint64_t order = 0;  // when the endpoint was first found
        std::uint32_t sender = 0; // the address that added it, network byte order; 0: unknown
    };

    enum class Disposition {
        Applied,
        Repeated,    // a MessageID seen before
        Foreign,     // a ProbeMatches that answers no probe of ours
        NotForTable, // a Probe: nothing a device table takes
    };

    struct Outcome {
        Disposition disposition = Disposition::Applied;
        std::size_t added = 0;
        std::size_t updated = 0;
        std::size_t removed = 0;
        std::size_t refused = 0; // endpoints past a bound: not stored, or not updated
    };

    DeviceTable();
    explicit DeviceTable(Bounds bounds);

    // Remembers the MessageID of a probe we sent.
    void AddOwnProbe(std::string_view messageId);
    // `sender`: the address the message came from, network byte order; 0 when not known.
    Outcome Apply(const Message& message, std::string_view receivedOn, std::uint32_t sender = 0);

    const Entry* Find(std::string_view endpoint) const;
    // Every entry, in the order the endpoints were first found.
    std::vector<const Entry*> Entries() const;
    std::size_t Size() const { return m_entries.size(); }
    // The bytes counted against Bounds::maxBytes.
    std::size_t Bytes() const { return m_bytes; }

private:
    void Store(const TargetService& target, std::string_view receivedOn, std::uint32_t sender,
               Outcome& outcome);
    void Remove(const std::string& endpoint, Outcome& outcome);

    Bounds m_bounds;
    RecentIds m_ownProbes;
    RecentIds m_seenMessages;
    std::unordered_map<std::string, Entry> m_entries;
    std::unordered_map<std::uint32_t, std::size_t> m_endpointsBySender;
    std::size_t m_bytes = 0;
    std::uint64_t m_nextOrder = 0;
};

} // namespace vanmoor::wsd
