#pragma once

#include "ObservationLog.h"
#include "ReplyPlan.h"
#include "ReplyScheduler.h"
#include "SimDevice.h"
#include "UniqueFd.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vanmoor::devsim {

// Plays a fixed set of network devices of both protocols in one network namespace: answers every
// search request with one reply per device of its protocol and obeys settings commands as each
// device would, so that later replies carry the new settings.
//
// Start() makes the sockets on the calling thread, so they belong to that thread's network
// namespace; the simulator's own threads may then run anywhere. Devices and the reply plan may
// be read and changed at any time.
class Simulator {
public:
    // Throws std::invalid_argument for a device that CheckDevice refuses.
    explicit Simulator(std::vector<SimDevice> devices, Observer observer = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Binds the wildcard address on ports 4022 and 32970 and starts listening. Throws
    // std::system_error when a socket cannot be made or bound, std::logic_error when started
    // twice.
    void Start();
    // Stops listening and drops replies not sent yet; returns once the threads have ended.
    void Stop();

    void SetReplyPlan(ReplyPlan plan); // throws std::invalid_argument, see CheckReplyPlan
    ReplyPlan GetReplyPlan() const;

    std::size_t DeviceCount() const { return m_DeviceCount; }
    SimDevice Device(std::size_t index) const; // throws std::out_of_range
    std::vector<SimDevice> Devices() const;
    void SetDevice(std::size_t index,
                   SimDevice device); // throws like the constructor, or out_of_range

    std::vector<ReceivedDatagram> Datagrams() const { return m_Log.Datagrams(); }
    std::vector<CommandEvent> Commands() const { return m_Log.Commands(); }
    // True once `count` datagrams have been received and acted on; false after the timeout.
    bool WaitForDatagrams(std::size_t count, std::chrono::milliseconds timeout) const {
        return m_Log.WaitForDatagrams(count, timeout);
    }
    // Replies sent and failed so far; after Stop(), the final figures.
    ReplyCounters Counters() const;

private:
    struct Listener {
        Protocol protocol;
        UniqueFd socket;
    };

    void ReceiveLoop();
    // Reads and handles what is queued on the listener, without blocking.
    void DrainListener(const Listener& listener);
    bool IsOwnEcho(const Listener& listener, const sockaddr_in& source) const;
    void HandleDatagram(const Listener& listener, std::vector<std::uint8_t> bytes,
                        const sockaddr_in& source);
    std::size_t AnswerSearch(const Listener& listener, const sockaddr_in& requester,
                             Clock::time_point arrival);
    void ObeyCommand(Protocol protocol, std::span<const std::uint8_t> command);

    const std::size_t m_DeviceCount;
    mutable std::mutex m_Mutex; // guards m_Devices and m_Plan
    std::vector<SimDevice> m_Devices;
    ReplyPlan m_Plan;
    ObservationLog m_Log;

    std::vector<Listener> m_Listeners;
    std::vector<Ipv4> m_LocalAddresses;
    UniqueFd m_StopEvent; // readable once Stop() asks the receive loop to end
    std::unique_ptr<ReplyScheduler> m_Scheduler;
    ReplyCounters m_CountersAtStop;
    std::thread m_ReceiveThread;
};

} // namespace vanmoor::devsim
