#include "DeviceTable.h"

#include <algorithm>
#include <numeric>

namespace vanmoor::wsd {

namespace {

std::size_t ListBytes(const std::vector<std::string>& texts) {
    return std::accumulate(
        texts.begin(), texts.end(), std::size_t{0},
        [](std::size_t sum, const std::string& text) { return sum + text.size(); });
}

// A string object and its allocation's bookkeeping; a hash node, its bucket and the key.
constexpr std::size_t kTextCost = sizeof(std::string) + 16;
constexpr std::size_t kEntryCost = sizeof(DeviceTable::Entry) + 64 + kTextCost;
// The texts of an entry outside its lists: key, address, receivedOn, name, hardware, location.
constexpr std::size_t kSingleTexts = 6;

// What an entry takes: its texts, its key included, and the objects that hold them.
std::size_t EntryBytes(const TargetService& target, std::string_view receivedOn) {
    std::size_t bytes = 2 * target.address.size() + receivedOn.size() + target.name.size() +
                        target.hardware.size() + target.location.size() + ListBytes(target.scopes) +
                        ListBytes(target.xaddrs);
    for (const QualifiedName& type : target.types) {
        bytes += type.namespaceUri.size() + type.localName.size();
    }
    const std::size_t texts =
        kSingleTexts + target.scopes.size() + target.xaddrs.size() + 2 * target.types.size();
    return kEntryCost + bytes + texts * kTextCost;
}

} // namespace

DeviceTable::DeviceTable() : DeviceTable(Bounds{}) {}

DeviceTable::DeviceTable(Bounds bounds)
    : m_bounds(bounds), m_ownProbes(bounds.ownProbes), m_seenMessages(bounds.recentMessageIds) {}

void DeviceTable::AddOwnProbe(std::string_view messageId) {
    m_ownProbes.Insert(messageId);
}

DeviceTable::Outcome DeviceTable::Apply(const Message& message, std::string_view receivedOn,
                                        std::uint32_t sender) {
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
            Remove(target.address, outcome);
        } else {
            Store(target, receivedOn, sender, outcome);
        }
    }
    return outcome;
}

void DeviceTable::Store(const TargetService& target, std::string_view receivedOn,
                        std::uint32_t sender, Outcome& outcome) {
    const std::size_t bytes = EntryBytes(target, receivedOn);
    const auto found = m_entries.find(target.address);
    const std::size_t replaced =
        found == m_entries.end() ? 0 : EntryBytes(found->second.target, found->second.receivedOn);
    const auto added = m_endpointsBySender.find(sender);
    const bool senderFull = sender != 0 && added != m_endpointsBySender.end() &&
                            added->second >= m_bounds.maxEndpointsPerSender;
    // A flood of invented endpoints is refused; the devices found first stay.
    if ((found == m_entries.end() && (m_entries.size() >= m_bounds.maxEndpoints || senderFull)) ||
        m_bytes - replaced + bytes > m_bounds.maxBytes) {
        ++outcome.refused;
        return;
    }
    m_bytes = m_bytes - replaced + bytes;
    if (found != m_entries.end()) {
        found->second.target = target;
        found->second.receivedOn = receivedOn;
        ++outcome.updated;
        return;
    }
    m_entries.emplace(target.address,
                      Entry{target, std::string(receivedOn), m_nextOrder++, sender});
    ++m_endpointsBySender[sender];
    ++outcome.added;
}

void DeviceTable::Remove(const std::string& endpoint, Outcome& outcome) {
    const auto found = m_entries.find(endpoint);
    if (found == m_entries.end()) {
        return;
    }
    m_bytes -= EntryBytes(found->second.target, found->second.receivedOn);
    const auto sender = m_endpointsBySender.find(found->second.sender);
    if (--sender->second == 0) {
        m_endpointsBySender.erase(sender);
    }
    m_entries.erase(found);
    ++outcome.removed;
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
