#pragma once

#include "DeviceTable.h"
#include "MessageIntake.h"
#include "RepeatSchedule.h"
#include "WsdSockets.h"
#include "XmlReader.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::wsd {

struct ScanOptions {
    // The local IPv4 addresses to probe from; empty: every address of every interface that is
    // up, as the library searches them.
    std::vector<std::string> localAddresses;
    // Probes by unicast to this address's discovery port instead of the multicast group, for
    // networks that block multicast.
    std::optional<std::string> target;
    // How long the scan listens, from its first probe on. Devices wait up to a few seconds
    // before they answer a multicast probe.
    std::chrono::milliseconds wait{3000};
    // Repeats of each probe; unset: the SOAP-over-UDP figure for multicast or unicast.
    std::optional<int> repeats;
    DeviceTable::Bounds bounds;
};

struct ScanReport {
    // In the order the endpoints were first found; each credited to the local address whose
    // socket received its latest answer, whatever the device's own address.
    std::vector<DeviceTable::Entry> devices;
    std::vector<std::string> probedFrom; // local addresses whose probes went out
    std::vector<SocketFailure> failures; // addresses that could not probe, and why
    IntakeCounters counters;
};

// One WS-Discovery search on every chosen local address at once: per address a socket bound to
// it sends a Probe for each camera type (NetworkVideoTransmitter, Device), each with a fresh
// MessageID, repeated on the SOAP-over-UDP schedule, and takes the ProbeMatches that come back
// to it. Only answers to these probes count; repeats of an answer count once.
class WsdScanner {
public:
    explicit WsdScanner(const XmlReader& reader) : m_reader(reader) {}

    // Blocks for options.wait.
    ScanReport Scan(const ScanOptions& options) const;

private:
    const XmlReader& m_reader;
};

} // namespace vanmoor::wsd
