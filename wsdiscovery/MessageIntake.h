#pragma once

#include "DeviceTable.h"
#include "Limits.h"
#include "MessageParser.h"
#include "XmlReader.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <vector>

namespace vanmoor::wsd {

// What became of the datagrams a scan or a listener received.
struct IntakeCounters {
    std::size_t datagrams = 0;  // taken from the sockets, too long ones included
    std::size_t tooLong = 0;    // over the datagram bound: dropped unread
    std::size_t unreadable = 0; // not a discovery message (malformed, DOCTYPE, too deep, ...)
    std::size_t foreign = 0;    // ProbeMatches answering no probe of ours
    std::size_t repeated = 0;   // a MessageID seen before
    std::size_t applied = 0;    // changed, or confirmed, the table
};

// The one place where received datagrams become table entries: parsed with the bounds of
// `Limits`, checked and applied to a bounded DeviceTable. Safe to call from several receive
// threads at once; parsing runs outside the lock.
class MessageIntake {
public:
    struct Taken {
        Message message;
        DeviceTable::Outcome outcome;
        bool read = false; // false: the datagram was not a discovery message
    };

    MessageIntake(const XmlReader& reader, DeviceTable::Bounds bounds, Limits limits = {});

    void AddOwnProbe(std::string_view messageId);
    // `sender`: the address it came from, network byte order; 0 when not known.
    Taken Take(std::string_view datagram, std::string_view receivedOn, std::uint32_t sender = 0);
    void CountTooLong(std::size_t count);

    // Entries copied out, in the order their endpoints were first found.
    std::vector<DeviceTable::Entry> Entries() const;
    IntakeCounters Counters() const;
    const Limits& DatagramLimits() const { return m_limits; }

private:
    const XmlReader& m_reader;
    const Limits m_limits;
    mutable std::mutex m_mutex; // guards m_table and m_counters
    DeviceTable m_table;
    IntakeCounters m_counters;
};

} // namespace vanmoor::wsd
