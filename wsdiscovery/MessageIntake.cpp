#include "MessageIntake.h"

namespace vanmoor::wsd {

MessageIntake::MessageIntake(const XmlReader& reader, DeviceTable::Bounds bounds, Limits limits)
    : m_reader(reader), m_limits(limits), m_table(bounds) {}

void MessageIntake::AddOwnProbe(std::string_view messageId) {
    const std::lock_guard lock(m_mutex);
    m_table.AddOwnProbe(messageId);
}

MessageIntake::Taken MessageIntake::Take(std::string_view datagram, std::string_view receivedOn,
                                         std::uint32_t sender) {
    ParseResult parsed = ParseMessage(datagram, m_reader, m_limits);
    Taken taken;
    const std::lock_guard lock(m_mutex);
    ++m_counters.datagrams;
    if (parsed.error != ReadError::None) {
        ++m_counters.unreadable;
        return taken;
    }
    taken.read = true;
    taken.outcome = m_table.Apply(parsed.message, receivedOn, sender);
    switch (taken.outcome.disposition) {
    case DeviceTable::Disposition::Applied:
        ++m_counters.applied;
        break;
    case DeviceTable::Disposition::Foreign:
        ++m_counters.foreign;
        break;
    case DeviceTable::Disposition::Repeated:
        ++m_counters.repeated;
        break;
    case DeviceTable::Disposition::NotForTable:
        break;
    }
    taken.message = std::move(parsed.message);
    return taken;
}

void MessageIntake::CountTooLong(std::size_t count) {
    const std::lock_guard lock(m_mutex);
    m_counters.datagrams += count;
    m_counters.tooLong += count;
}

std::vector<DeviceTable::Entry> MessageIntake::Entries() const {
    const std::lock_guard lock(m_mutex);
    std::vector<DeviceTable::Entry> entries;
    for (const DeviceTable::Entry* entry : m_table.Entries()) {
        entries.push_back(*entry);
    }
    return entries;
}

IntakeCounters MessageIntake::Counters() const {
    const std::lock_guard lock(m_mutex);
    return m_counters;
}

} // namespace vanmoor::wsd
