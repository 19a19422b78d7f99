#include "Simulator.h"

#include "DeviceSocket.h"
#include "ReplyBuilder.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <map>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <system_error>

namespace vanmoor::devsim {

namespace {

// Larger than any UDP payload, so that no datagram is cut.
constexpr std::size_t kReceiveBufferBytes = 65536;
// Datagrams read from one socket before the loop looks at the other socket and the stop event.
constexpr int kDatagramsPerPass = 256;

Ipv4 AddressBytes(const sockaddr_in& address) {
    Ipv4 bytes;
    std::memcpy(bytes.data(), &address.sin_addr, bytes.size());
    return bytes;
}

sockaddr_in Endpoint(const Ipv4& address, std::uint16_t port) {
    sockaddr_in endpoint{};
    endpoint.sin_family = AF_INET;
    endpoint.sin_port = htons(port);
    std::memcpy(&endpoint.sin_addr, address.data(), address.size());
    return endpoint;
}

sockaddr_in ReplyDestination(ReplyMode mode, const SimDevice& device,
                             const sockaddr_in& requester) {
    switch (mode) {
    case ReplyMode::Unicast:
        return requester;
    case ReplyMode::SubnetBroadcast: {
        Ipv4 broadcast;
        for (std::size_t i = 0; i < broadcast.size(); ++i) {
            broadcast[i] = static_cast<std::uint8_t>(device.ip[i] | ~device.netmask[i]);
        }
        return Endpoint(broadcast, PortNumber(device.protocol));
    }
    case ReplyMode::Broadcast:
        break;
    }
    return Endpoint({255, 255, 255, 255}, PortNumber(device.protocol));
}

} // namespace

Simulator::Simulator(std::vector<SimDevice> devices, Observer observer)
    : m_DeviceCount(devices.size()), m_Devices(std::move(devices)), m_Silent(m_DeviceCount),
      m_Log(std::move(observer)) {
    std::for_each(m_Devices.begin(), m_Devices.end(), CheckDevice);
    for (const SimDevice& device : m_Devices) {
        m_Replies.push_back(std::make_shared<const Bytes>(BuildReply(device)));
        m_Macs.push_back(device.mac);
    }
}

Simulator::~Simulator() {
    Stop();
}

void Simulator::Start() {
    if (m_StopEvent.Get() >= 0) {
        throw std::logic_error("the simulator was started already");
    }
    std::vector<Listener> listeners;
    for (Protocol protocol : {Protocol::Port4022, Protocol::Port32970}) {
        listeners.push_back({protocol, OpenDeviceSocket(PortNumber(protocol))});
    }
    std::unique_ptr<WsdResponder> wsd;
    if (std::any_of(m_Devices.begin(), m_Devices.end(),
                    [](const SimDevice& device) { return device.wsd.enabled; })) {
        wsd = std::make_unique<WsdResponder>(m_DeviceCount);
        wsd->Open();
    }
    std::vector<Ipv4> localAddresses = LocalAddresses();
    UniqueFd stopEvent(eventfd(0, EFD_CLOEXEC));
    if (stopEvent.Get() < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
    m_Listeners = std::move(listeners);
    m_LocalAddresses = std::move(localAddresses);
    m_StopEvent = std::move(stopEvent);
    m_Scheduler = std::make_unique<ReplyScheduler>();
    m_Wsd = std::move(wsd);
    StartServices();
    m_ReceiveThread = std::thread([this] { ReceiveLoop(); });
    if (m_Wsd) {
        m_Wsd->Announce(Devices(), true);
    }
}

void Simulator::Stop() {
    if (m_ReceiveThread.joinable()) {
        const std::uint64_t one = 1;
        if (write(m_StopEvent.Get(), &one, sizeof one) < 0) {
            // Only a counter overflow fails an eventfd write; without the wake-up the join below
            // would never return.
            std::terminate();
        }
        m_ReceiveThread.join();
    }
    m_Service.reset(); // no device moves any more
    if (m_Wsd) {
        m_Wsd->Announce(Devices(), false);
    }
    if (m_Scheduler) {
        m_CountersAtStop = m_Scheduler->Counters();
        m_Scheduler.reset();
    }
    m_Listeners.clear(); // frees the ports
    m_Wsd.reset();
}

void Simulator::StartServices() {
    const std::vector<SimDevice> devices = Devices();
    if (std::none_of(devices.begin(), devices.end(),
                     [](const SimDevice& device) { return device.service.enabled; })) {
        return;
    }
    ServiceHost::Hooks hooks;
    hooks.read = [this](std::size_t index) { return Device(index); };
    hooks.store = [this](std::size_t index, SimDevice device) {
        SetDevice(index, std::move(device));
    };
    hooks.hello = [this](std::size_t index) { m_Wsd->Announce({Device(index)}, true); };
    hooks.silence = [this](std::size_t index, bool silent) {
        const std::lock_guard lock(m_Mutex);
        m_Silent[index] = silent;
    };
    hooks.record = [this](ServiceRequest request) { m_Log.AddServiceRequest(std::move(request)); };
    m_Service = std::make_unique<ServiceHost>(devices, std::move(hooks));
    m_Service->Start();
}

void Simulator::SetReplyPlan(ReplyPlan plan) {
    CheckReplyPlan(plan, m_DeviceCount);
    const std::lock_guard lock(m_Mutex);
    m_Plan = std::move(plan);
}

ReplyPlan Simulator::GetReplyPlan() const {
    const std::lock_guard lock(m_Mutex);
    return m_Plan;
}

SimDevice Simulator::Device(std::size_t index) const {
    const std::lock_guard lock(m_Mutex);
    return m_Devices.at(index);
}

std::vector<SimDevice> Simulator::Devices() const {
    const std::lock_guard lock(m_Mutex);
    return m_Devices;
}

void Simulator::SetDevice(std::size_t index, SimDevice device) {
    CheckDevice(device);
    if (index >= m_DeviceCount) {
        throw std::out_of_range("no device " + std::to_string(index));
    }
    const std::lock_guard lock(m_Mutex);
    StoreDevice(index, std::move(device));
}

void Simulator::StoreDevice(std::size_t index, SimDevice device) {
    m_Replies[index] = std::make_shared<const Bytes>(BuildReply(device));
    m_Macs[index] = device.mac;
    m_Devices[index] = std::move(device);
}

ReplyCounters Simulator::Counters() const {
    return m_Scheduler ? m_Scheduler->Counters() : m_CountersAtStop;
}

void Simulator::ReceiveLoop() {
    std::vector<std::uint8_t> buffer(kReceiveBufferBytes);
    std::vector<pollfd> watched;
    for (const Listener& listener : m_Listeners) {
        watched.push_back({listener.socket.Get(), POLLIN, 0});
    }
    if (m_Wsd) {
        watched.push_back({m_Wsd->Socket(), POLLIN, 0});
    }
    watched.push_back({m_StopEvent.Get(), POLLIN, 0});
    while (true) {
        if (poll(watched.data(), watched.size(), -1) < 0) {
            continue; // EINTR; nothing else can fail with these descriptors
        }
        if (watched.back().revents != 0) {
            return;
        }
        if (m_Wsd && watched[m_Listeners.size()].revents != 0) {
            AnswerWsdProbes(buffer);
        }
        for (std::size_t i = 0; i < m_Listeners.size(); ++i) {
            if (watched[i].revents != 0) {
                DrainListener(m_Listeners[i], buffer);
            }
        }
    }
}

void Simulator::AnswerWsdProbes(std::vector<std::uint8_t>& buffer) {
    for (const WsdResponder::Probe& probe : m_Wsd->Drain(buffer)) {
        std::vector<ReplyWave> waves;
        {
            const std::lock_guard lock(m_Mutex);
            waves = m_Wsd->Answer(probe, m_Devices, m_Silent, m_Plan.wsdMaxDelay);
        }
        m_WsdProbesHeard = m_Wsd->ProbesHeard();
        m_Scheduler->Schedule(std::move(waves));
    }
}

void Simulator::DrainListener(const Listener& listener, std::vector<std::uint8_t>& buffer) {
    for (int i = 0; i < kDatagramsPerPass; ++i) {
        sockaddr_in source{};
        socklen_t sourceLength = sizeof source;
        const ssize_t received =
            recvfrom(listener.socket.Get(), buffer.data(), buffer.size(), MSG_DONTWAIT,
                     reinterpret_cast<sockaddr*>(&source), &sourceLength);
        if (received < 0) {
            return; // nothing more queued (or a transient error the next poll will show again)
        }
        if (!IsOwnEcho(listener, source)) {
            HandleDatagram(listener,
                           std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + received),
                           source);
        }
    }
}

// Broadcast replies reach this host's own sockets too; they come from one of its addresses and
// from the listener's own port.
bool Simulator::IsOwnEcho(const Listener& listener, const sockaddr_in& source) const {
    return ntohs(source.sin_port) == PortNumber(listener.protocol) &&
           std::find(m_LocalAddresses.begin(), m_LocalAddresses.end(), AddressBytes(source)) !=
               m_LocalAddresses.end();
}

void Simulator::HandleDatagram(const Listener& listener, std::vector<std::uint8_t> bytes,
                               const sockaddr_in& source) {
    const Clock::time_point arrival = Clock::now();
    const DatagramKind kind = ClassifyDatagram(listener.protocol, bytes);
    std::size_t replies = 0;
    if (kind == DatagramKind::SearchRequest) {
        replies = AnswerSearch(listener, source, arrival);
    } else if (kind == DatagramKind::SettingsCommand) {
        ObeyCommand(listener.protocol, bytes);
    }
    m_Log.AddDatagram({listener.protocol, kind, std::move(bytes), AddressBytes(source),
                       ntohs(source.sin_port), arrival, replies});
}

std::size_t Simulator::AnswerSearch(const Listener& listener, const sockaddr_in& requester,
                                    Clock::time_point arrival) {
    // One round of replies per distinct delay, in answer order.
    std::map<std::chrono::milliseconds, std::vector<OutgoingReply>> rounds;
    unsigned repeat = 0;
    {
        const std::lock_guard lock(m_Mutex);
        repeat = m_Plan.repeat;
        for (std::size_t index : AnswerOrder(m_Plan, m_Devices.size())) {
            const SimDevice& device = m_Devices[index];
            if (device.answersDeviceProtocol && device.protocol == listener.protocol &&
                !m_Silent[index]) {
                rounds[device.replyDelay.value_or(m_Plan.delay)].push_back(
                    {ReplyDestination(device.replyMode.value_or(m_Plan.mode), device, requester),
                     m_Replies[index]});
            }
        }
    }
    if (repeat == 0) {
        return 0;
    }
    std::vector<ReplyWave> waves;
    std::size_t count = 0;
    for (auto& [delay, round] : rounds) {
        ReplyWave wave{arrival + delay, listener.socket.Get(), {}};
        wave.replies.reserve(round.size() * repeat);
        for (unsigned i = 1; i < repeat; ++i) {
            wave.replies.insert(wave.replies.end(), round.begin(), round.end());
        }
        std::move(round.begin(), round.end(), std::back_inserter(wave.replies));
        count += wave.replies.size();
        waves.push_back(std::move(wave));
    }
    m_Scheduler->Schedule(std::move(waves));
    return count;
}

void Simulator::ObeyCommand(Protocol protocol, std::span<const std::uint8_t> command) {
    const Mac target = CommandTarget(command);
    std::vector<CommandEvent> events;
    // Devices whose web service must follow a new address or port.
    std::vector<std::size_t> moved;
    {
        const std::lock_guard lock(m_Mutex);
        for (std::size_t index = 0; index < m_Macs.size(); ++index) {
            if (m_Macs[index] != target) {
                continue;
            }
            const SimDevice& known = m_Devices[index];
            if (!known.answersDeviceProtocol || known.protocol != protocol || m_Silent[index]) {
                continue;
            }
            SimDevice device = known;
            const CommandOutcome outcome = ApplySettingsCommand(device, command);
            if (outcome == CommandOutcome::Applied || outcome == CommandOutcome::Dropped) {
                if (known.service.enabled &&
                    (device.ip != known.ip || device.webPort != known.webPort)) {
                    moved.push_back(index);
                }
                StoreDevice(index, std::move(device));
            }
            events.push_back({protocol, target, outcome, index, Clock::now()});
        }
    }
    for (const std::size_t index : moved) {
        if (m_Service) {
            m_Service->Follow(index);
        }
    }
    if (events.empty()) {
        events.push_back(
            {protocol, target, CommandOutcome::NoSuchDevice, std::nullopt, Clock::now()});
    }
    for (CommandEvent& event : events) {
        m_Log.AddCommand(event);
    }
}

} // namespace vanmoor::devsim
