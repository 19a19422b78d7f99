#pragma once

#include "DeviceTable.h"
#include "MessageIntake.h"
#include "WsdSockets.h"
#include "XmlReader.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vanmoor::wsd {

// A device announcing itself (Hello: new or changed) or its leaving (Bye).
struct Announcement {
    enum class Kind { Hello, Bye };
    Kind kind = Kind::Hello;
    TargetService target;
    std::string receivedOn;   // the local address of the interface it arrived on
    std::uint32_t sender = 0; // the address it came from, network byte order; 0: unknown
};

// Listens for Hello and Bye on the discovery port of every chosen interface: one socket per
// local address, joined to the group on that interface alone, each with a receive thread. The
// table of announced devices and the queue of announcements are bounded; a full queue drops a
// Hello before any Bye.
class WsdListener {
public:
    struct Options {
        std::vector<std::string> localAddresses; // empty: every local IPv4 address
        DeviceTable::Bounds bounds;
        std::size_t maxQueued = 4096; // announcements not yet polled
    };

    WsdListener(const XmlReader& reader, Options options);
    ~WsdListener(); // stops the threads and closes the sockets
    WsdListener(const WsdListener&) = delete;
    WsdListener& operator=(const WsdListener&) = delete;

    // Opens the sockets and starts listening; the addresses that cannot listen are returned.
    std::vector<SocketFailure> Start();
    // Listens on `localAddresses` from now on (empty: every local IPv4 address there is now),
    // opening sockets for new addresses and closing those of addresses gone, so that a
    // listener follows interfaces that come and go. Returns the addresses that cannot listen.
    std::vector<SocketFailure> ListenOn(std::vector<std::string> localAddresses);
    // The local addresses that listen.
    std::vector<std::string> ListeningOn() const;

    // The announcements queued since the last poll, waiting up to `patience` for the first.
    std::vector<Announcement> Poll(std::chrono::milliseconds patience);
    // Devices that said Hello and no Bye since, each credited to its latest interface.
    std::vector<DeviceTable::Entry> Devices() const { return m_intake.Entries(); }
    IntakeCounters Counters() const { return m_intake.Counters(); }
    // Announcements dropped from a full queue before they were polled.
    std::size_t Overflowed() const;

private:
    struct Channel {
        std::string localIP;
        platform::UdpSocket socket;
        std::atomic<bool> listening{true};
        std::thread thread;
    };

    void Receive(Channel& channel);
    void Queue(Announcement announcement);
    static void Stop(Channel& channel);

    const Options m_options;
    MessageIntake m_intake;
    mutable std::mutex m_channelsMutex; // guards m_channels
    std::vector<std::unique_ptr<Channel>> m_channels;

    mutable std::mutex m_queueMutex; // guards m_queue and m_overflowed
    std::condition_variable m_queued;
    std::deque<Announcement> m_queue;
    std::size_t m_overflowed = 0;
};

} // namespace vanmoor::wsd
