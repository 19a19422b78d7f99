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
    m_running = false;
    for (auto& channel : m_channels) {
        channel->socket.Wake();
    }
    for (auto& channel : m_channels) {
        if (channel->thread.joinable()) {
            channel->thread.join();
        }
    }
}

std::vector<SocketFailure> WsdListener::Start() {
    std::vector<SocketFailure> failures;
    std::vector<std::string> addresses = m_options.localAddresses;
    if (addresses.empty()) {
        for (const auto& local : platform::LocalIpv4Addresses()) {
            addresses.push_back(local.address);
        }
    }
    for (const std::string& address : addresses) {
        auto channel = std::make_unique<Channel>();
        channel->localIP = address;
        SocketFailure failure;
        if (OpenAnnouncementSocket(channel->socket, address, failure)) {
            m_channels.push_back(std::move(channel));
        } else {
            failures.push_back(failure);
        }
    }
    m_running = true;
    for (auto& channel : m_channels) {
        channel->thread = std::thread([this, raw = channel.get()] { Receive(*raw); });
    }
    return failures;
}

std::vector<std::string> WsdListener::ListeningOn() const {
    std::vector<std::string> addresses;
    for (const auto& channel : m_channels) {
        addresses.push_back(channel->localIP);
    }
    return addresses;
}

void WsdListener::Receive(Channel& channel) {
    std::vector<char> buffer(m_intake.DatagramLimits().maxDatagramBytes + 1);
    const auto take = [&](std::string_view datagram) {
        MessageIntake::Taken taken = m_intake.Take(datagram, channel.localIP);
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
                   std::move(target), channel.localIP});
        }
    };
    const std::size_t maxBytes = m_intake.DatagramLimits().maxDatagramBytes;
    while (m_running) {
        const auto wait = channel.socket.WaitReadable(kWakeCheckMilliseconds);
        if (wait == platform::UdpSocket::Wait::Woken) {
            return;
        }
        if (wait == platform::UdpSocket::Wait::Readable) {
            m_intake.CountTooLong(DrainDatagrams(channel.socket, buffer, maxBytes, take));
        }
    }
}

void WsdListener::Queue(Announcement announcement) {
    {
        const std::lock_guard lock(m_queueMutex);
        if (m_queue.size() >= std::max<std::size_t>(m_options.maxQueued, 1)) {
            m_queue.pop_front();
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
