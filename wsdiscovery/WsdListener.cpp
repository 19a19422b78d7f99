#include "WsdListener.h"

#include "InterfaceAddresses.h"

#include <algorithm>

namespace vanmoor::wsd {

namespace {

// Wake() ends a wait at once; the time-out only keeps a failing wait from spinning.
constexpr int kWakeCheckMilliseconds = 500;

} // namespace

WsdListener::WsdListener(const XmlReader& reader, Options options)
    : m_options(std::move(options)), m_intake(reader, m_options.bounds) {}

WsdListener::~WsdListener() {
    const std::lock_guard lock(m_channelsMutex);
    for (auto& channel : m_channels) {
        channel->listening = false;
        channel->socket.Wake();
    }
    for (auto& channel : m_channels) {
        Stop(*channel);
    }
}

void WsdListener::Stop(Channel& channel) {
    channel.listening = false;
    channel.socket.Wake();
    if (channel.thread.joinable()) {
        channel.thread.join();
    }
}

std::vector<SocketFailure> WsdListener::Start() {
    return ListenOn(m_options.localAddresses);
}

std::vector<SocketFailure> WsdListener::ListenOn(std::vector<std::string> localAddresses) {
    if (localAddresses.empty()) {
        for (const auto& local : platform::LocalIpv4Addresses()) {
            localAddresses.push_back(local.address);
        }
    }
    const auto wanted = [&](const std::string& address) {
        return std::find(localAddresses.begin(), localAddresses.end(), address) !=
               localAddresses.end();
    };
    const std::lock_guard lock(m_channelsMutex);
    for (auto& channel : m_channels) {
        if (!wanted(channel->localIP)) {
            Stop(*channel);
        }
    }
    std::erase_if(m_channels, [&](const auto& channel) { return !wanted(channel->localIP); });
    std::vector<SocketFailure> failures;
    for (const std::string& address : localAddresses) {
        if (std::any_of(m_channels.begin(), m_channels.end(),
                        [&](const auto& channel) { return channel->localIP == address; })) {
            continue;
        }
        auto channel = std::make_unique<Channel>();
        channel->localIP = address;
        SocketFailure failure;
        if (!OpenAnnouncementSocket(channel->socket, address, failure)) {
            failures.push_back(failure);
            continue;
        }
        channel->thread = std::thread([this, raw = channel.get()] { Receive(*raw); });
        m_channels.push_back(std::move(channel));
    }
    return failures;
}

std::vector<std::string> WsdListener::ListeningOn() const {
    const std::lock_guard lock(m_channelsMutex);
    std::vector<std::string> addresses;
    for (const auto& channel : m_channels) {
        addresses.push_back(channel->localIP);
    }
    return addresses;
}

void WsdListener::Receive(Channel& channel) {
    std::vector<char> buffer(m_intake.DatagramLimits().maxDatagramBytes + 1);
    const auto take = [&](std::string_view datagram, std::uint32_t sender) {
        MessageIntake::Taken taken = m_intake.Take(datagram, channel.localIP, sender);
        const auto kind = taken.message.kind;
        if (!taken.read || taken.outcome.disposition != DeviceTable::Disposition::Applied ||
            (kind != MessageKind::Hello && kind != MessageKind::Bye)) {
            return;
        }
        // A Bye of a device never announced changes nothing, but is still news to a watcher.
        if (kind == MessageKind::Hello && taken.outcome.added + taken.outcome.updated == 0) {
            return;
        }
        for (TargetService& target : taken.message.targets) {
            Queue({kind == MessageKind::Hello ? Announcement::Kind::Hello : Announcement::Kind::Bye,
                   std::move(target), channel.localIP, sender});
        }
    };
    const std::size_t maxBytes = m_intake.DatagramLimits().maxDatagramBytes;
    while (channel.listening) {
        const auto wait = channel.socket.WaitReadable(kWakeCheckMilliseconds);
        if (wait == platform::UdpSocket::Wait::Woken) {
            return;
        }
        if (wait == platform::UdpSocket::Wait::Readable) {
            m_intake.CountTooLong(DrainDatagrams(
                channel.socket, buffer, maxBytes, [&] { return channel.listening.load(); }, take));
        }
    }
}

void WsdListener::Queue(Announcement announcement) {
    {
        const std::lock_guard lock(m_queueMutex);
        if (m_queue.size() >= std::max<std::size_t>(m_options.maxQueued, 1)) {
            // A lost Hello is found by the next search; a lost Bye only by two.
            const auto hello = std::find_if(m_queue.begin(), m_queue.end(), [](const auto& queued) {
                return queued.kind == Announcement::Kind::Hello;
            });
            m_queue.erase(hello == m_queue.end() ? m_queue.begin() : hello);
            ++m_overflowed;
        }
        m_queue.push_back(std::move(announcement));
    }
    m_queued.notify_all();
}

std::vector<Announcement> WsdListener::Poll(std::chrono::milliseconds patience) {
    std::unique_lock lock(m_queueMutex);
    m_queued.wait_for(lock, patience, [&] { return !m_queue.empty(); });
    std::vector<Announcement> announcements(std::make_move_iterator(m_queue.begin()),
                                            std::make_move_iterator(m_queue.end()));
    m_queue.clear();
    return announcements;
}

std::size_t WsdListener::Overflowed() const {
    const std::lock_guard lock(m_queueMutex);
    return m_overflowed;
}

} // namespace vanmoor::wsd
