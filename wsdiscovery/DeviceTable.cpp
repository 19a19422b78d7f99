#include "DeviceTable.h"

#include <algorithm>

namespace vanmoor::wsd {

DeviceTable::DeviceTable() : DeviceTable(Bounds{}) {}

DeviceTable::DeviceTable(Bounds bounds)
    : m_bounds(bounds), m_ownProbes(bounds.ownProbes), m_seenMessages(bounds.recentMessageIds) {}

void DeviceTable::AddOwnProbe(std::string_view messageId) {
    m_ownProbes.Insert(messageId);
}

DeviceTable::Outcome DeviceTable::Apply(const Message& message, std::string_view receivedOn) {
    Outcome outcome;
    if (message.kind == MessageKind::Probe) {
        outcome.disposition = Disposition::NotForTable;
        return outcome;
    }
    if (message.kind == MessageKind::ProbeMatches && !m_ownProbes.Contains(message.relatesTo)) {
        outcome.disposition = Disposition::Foreign;
        return outcome;
    }
    // A message without an identifier cannot be recognised again; it is taken each time.
    if (!message.messageId.empty() && !m_seenMessages.Insert(message.messageId)) {
        outcome.disposition = Disposition::Repeated;
        return outcome;
    }
    for (const TargetService& target : message.targets) {
        if (target.address.empty()) {
            continue;
        }
        if (message.kind == MessageKind::Bye) {
            outcome.removed += m_entries.erase(target.address);
        } else {
            Store(target, receivedOn, outcome);
        }
    }
    return outcome;
}

void DeviceTable::Store(const TargetService& target, std::string_view receivedOn,
                        Outcome& outcome) {
    if (const auto found = m_entries.find(target.address); found != m_entries.end()) {
        found->second.target = target;
        found->second.receivedOn = receivedOn;
        ++outcome.updated;
        return;
    }
    // A flood of invented endpoints is refused; the devices found first stay.
    if (m_entries.size() >= m_bounds.maxEndpoints) {
        ++outcome.refused;
        return;
    }
    m_entries.emplace(target.address, Entry{target, std::string(receivedOn), m_nextOrder++});
    ++outcome.added;
}

const DeviceTable::Entry* DeviceTable::Find(std::string_view endpoint) const {
    const auto found = m_entries.find(std::string(endpoint));
    return found == m_entries.end() ? nullptr : &found->second;
}

std::vector<const DeviceTable::Entry*> DeviceTable::Entries() const {
    std::vector<const Entry*> entries;
    entries.reserve(m_entries.size());
    for (const auto& [endpoint, entry] : m_entries) {
        entries.push_back(&entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry* a, const Entry* b) { return a->order < b->order; });
    return entries;
}

} // namespace vanmoor::wsd
