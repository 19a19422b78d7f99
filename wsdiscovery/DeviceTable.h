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
// the table never holds more than its bound of endpoints, whatever the network sends.
class DeviceTable {
public:
    struct Bounds {
        std::size_t maxEndpoints = 16384;
        // What the entries' texts may take together: a flood of endpoints that each fill a
        // whole datagram stops here long before the endpoint bound.
        std::size_t maxTextBytes = 64 * 1024 * 1024;
        std::size_t recentMessageIds = 4096; // messages remembered to drop their repeats
        std::size_t ownProbes = 1024;        // our probes whose replies are still taken
    };

    struct Entry {
        TargetService target;
        std::string receivedOn;  // the local address the latest message came through
        std::uint64_t order = 0; // when the endpoint was first found
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
    Outcome Apply(const Message& message, std::string_view receivedOn);

    const Entry* Find(std::string_view endpoint) const;
    // Every entry, in the order the endpoints were first found.
    std::vector<const Entry*> Entries() const;
    std::size_t Size() const { return m_entries.size(); }
    std::size_t TextBytes() const { return m_textBytes; }

private:
    void Store(const TargetService& target, std::string_view receivedOn, Outcome& outcome);
    void Remove(const std::string& endpoint, Outcome& outcome);

    Bounds m_bounds;
    RecentIds m_ownProbes;
    RecentIds m_seenMessages;
    std::unordered_map<std::string, Entry> m_entries;
    std::size_t m_textBytes = 0;
    std::uint64_t m_nextOrder = 0;
};

} // namespace vanmoor::wsd
