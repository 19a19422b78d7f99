#include "WsdScanner.h"

#include "AddressText.h"
#include "InterfaceAddresses.h"
#include "MessageId.h"
#include "ProbeMessage.h"
#include "Protocol.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <thread>

namespace vanmoor::wsd {

namespace {

using Clock = std::chrono::steady_clock;

// A probe's types must all match, so each camera type has a probe of its own.
const QualifiedName* const kCameraTypes[] = {&kNetworkVideoTransmitter, &kDeviceType};
constexpr std::size_t kProbeTypes = std::size(kCameraTypes);

// One local address's part of a scan: its socket, its probes and when they go out.
struct ProbeChannel {
    std::string localIP;
    std::string destination;
    platform::UdpSocket socket;
    std::vector<std::string> probes;        // one per camera type
    std::vector<Clock::duration> sendTimes; // from the scan's start: first send, then repeats
};

std::vector<Clock::duration> SendTimes(int repeats) {
    std::random_device seed;
    std::mt19937 random(seed());
    std::vector<Clock::duration> times{Clock::duration::zero()};
    for (const auto delay : RepeatDelays(repeats, random)) {
        times.push_back(times.back() + delay);
    }
    return times;
}

bool SubnetHolds(const platform::InterfaceAddress& local, std::uint32_t address) {
    return (local.addressValue & local.netmask) == (address & local.netmask);
}

// The addresses to probe from. A unicast target is probed from the addresses whose subnet holds
// it: its answer then comes back on the interface it lives on. A target beyond a router lies in
// no local subnet; it is probed from every address, and each answer is credited to the socket
// it reached.
std::vector<platform::InterfaceAddress> ChooseAddresses(const ScanOptions& options,
                                                        std::vector<SocketFailure>& failures) {
    std::vector<platform::InterfaceAddress> chosen;
    const auto local = platform::LocalIpv4Addresses();
    if (options.localAddresses.empty()) {
        chosen = local;
    }
    for (const std::string& wanted : options.localAddresses) {
        const auto found = std::find_if(local.begin(), local.end(),
                                        [&](const auto& entry) { return entry.address == wanted; });
        if (found == local.end()) {
            failures.push_back({wanted, "not a local address", 0});
        } else {
            chosen.push_back(*found);
        }
    }
    const auto octets =
        options.target ? settings::ParseDottedAddress(*options.target) : std::nullopt;
    if (!octets) {
        return chosen;
    }
    std::uint32_t target = 0; // network byte order, like the interface list's
    std::memcpy(&target, octets->data(), sizeof target);
    std::vector<platform::InterfaceAddress> holding;
    std::copy_if(chosen.begin(), chosen.end(), std::back_inserter(holding),
                 [&](const auto& entry) { return SubnetHolds(entry, target); });
    return holding.empty() ? chosen : holding;
}

void RunChannel(ProbeChannel& channel, MessageIntake& intake, Clock::time_point start,
                Clock::time_point deadline) {
    std::vector<char> buffer(intake.DatagramLimits().maxDatagramBytes + 1);
    const auto take = [&](std::string_view datagram, std::uint32_t sender) {
        intake.Take(datagram, channel.localIP, sender);
    };
    std::size_t nextSend = 0;
    while (true) {
        const Clock::time_point now = Clock::now();
        while (nextSend < channel.sendTimes.size() && start + channel.sendTimes[nextSend] <= now) {
            for (const std::string& probe : channel.probes) {
                // A failed send is one probe fewer; the repeats may still get through.
                channel.socket.SendTo(probe.data(), static_cast<int>(probe.size()),
                                      channel.destination, kPort);
            }
            ++nextSend;
        }
        if (now >= deadline) {
            return;
        }
        Clock::time_point until = deadline;
        if (nextSend < channel.sendTimes.size()) {
            until = std::min(until, start + channel.sendTimes[nextSend]);
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(until - now);
        if (channel.socket.WaitReadable(static_cast<int>(wait.count())) ==
            platform::UdpSocket::Wait::Readable) {
            intake.CountTooLong(DrainDatagrams(
                channel.socket, buffer, intake.DatagramLimits().maxDatagramBytes,
                [&] { return Clock::now() < until; }, take));
        }
    }
}

} // namespace

ScanReport WsdScanner::Scan(const ScanOptions& options) const {
    ScanReport report;
    if (options.target && !settings::ParseDottedAddress(*options.target)) {
        report.failures.push_back({*options.target, "target is not an IPv4 address", 0});
        return report;
    }
    const auto addresses = ChooseAddresses(options, report.failures);
    // Every probe of this scan stays ours until its end, however many addresses probe.
    DeviceTable::Bounds bounds = options.bounds;
    bounds.ownProbes = std::max(bounds.ownProbes, kProbeTypes * addresses.size());
    MessageIntake intake(m_reader, bounds);
    const int repeats =
        options.repeats.value_or(options.target ? kUnicastUdpRepeat : kMulticastUdpRepeat);
    const std::string destination = options.target.value_or(std::string(kMulticastGroup));

    std::vector<std::unique_ptr<ProbeChannel>> channels;
    for (const auto& local : addresses) {
        auto channel = std::make_unique<ProbeChannel>();
        channel->localIP = local.address;
        channel->destination = destination;
        SocketFailure failure;
        if (!OpenProbeSocket(channel->socket, local.address, failure)) {
            report.failures.push_back(failure);
            continue;
        }
        for (const QualifiedName* type : kCameraTypes) {
            const std::string messageId = NewMessageId();
            intake.AddOwnProbe(messageId);
            channel->probes.push_back(BuildProbe(*type, messageId));
        }
        channel->sendTimes = SendTimes(std::max(repeats, 0));
        report.probedFrom.push_back(local.address);
        channels.push_back(std::move(channel));
    }

    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + options.wait;
    {
        std::vector<std::jthread> threads;
        for (auto& channel : channels) {
            threads.emplace_back(
                [&, raw = channel.get()] { RunChannel(*raw, intake, start, deadline); });
        }
    }
    report.devices = intake.Entries();
    report.counters = intake.Counters();
    return report;
}

} // namespace vanmoor::wsd
