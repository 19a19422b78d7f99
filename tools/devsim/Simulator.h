#pragma once

#include "ObservationLog.h"
#include "ReplyPlan.h"
#include "ReplyScheduler.h"
#include "ServiceHost.h"
#include "SimDevice.h"
#include "UniqueFd.h"
#include "WsdResponder.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vanmoor::devsim {

// Plays a fixed set of network devices of both protocols in one network namespace: answers every
// search request with one reply per device of its protocol and obeys settings commands as each
// device would, so that later replies carry the new settings. Devices that speak WS-Discovery
// answer Probes on port 3702 too, and say Hello at Start and Bye at Stop. Devices with a web
// service serve it on their own address, which Start adds to the namespace's lan interface and
// Stop removes (see ServiceHost).
//
// Start() makes the sockets on the calling thread, so they belong to that thread's network
// namespace; the simulator's own threads may then run anywhere. Devices, the reply plan and the
// records may be read and changed from any thread at any time; Start, Stop and Counters belong
// to the owner's thread.
class Simulator {
public:
    // Throws std::invalid_argument for a device that CheckDevice refuses.
    explicit Simulator(std::vector<SimDevice> devices, Observer observer = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Binds the wildcard address on ports 4022 and 32970 (and 3702, joined to the WS-Discovery
    // group, when a device speaks it) and starts listening; adds the addresses of the devices
    // with a web service and starts their servers. Throws
    // std::system_error when a socket cannot be made or bound, std::logic_error when started
    // twice.
    void Start();
    // Stops listening, drops replies not sent yet and closes the sockets; returns once the
    // threads have ended. The simulator cannot be started again.
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
    std::vector<ServiceRequest> ServiceRequests() const { return m_Log.ServiceRequests(); }
    // True once `count` datagrams have been received and acted on; false after the timeout.
    bool WaitForDatagrams(std::size_t count, std::chrono::milliseconds timeout) const {
        return m_Log.WaitForDatagrams(count, timeout);
    }
    // Replies sent and failed so far; after Stop(), the final figures.
    ReplyCounters Counters() const;
    // WS-Discovery Probes received and read so far (repeats and ignored ones included).
    std::size_t WsdProbesHeard() const { return m_WsdProbesHeard; }

private:
    struct Listener {
        Protocol protocol;
        UniqueFd socket;
    };

    void StartServices();
    void ReceiveLoop();
    void AnswerWsdProbes(std::vector<std::uint8_t>& buffer);
    // Reads and handles what is queued on the listener, without blocking.
    void DrainListener(const Listener& listener, std::vector<std::uint8_t>& buffer);
    bool IsOwnEcho(const Listener& listener, const sockaddr_in& source) const;
    void HandleDatagram(const Listener& listener, std::vector<std::uint8_t> bytes,
                        const sockaddr_in& source);
    std::size_t AnswerSearch(const Listener& listener, const sockaddr_in& requester,
                             Clock::time_point arrival);
    void ObeyCommand(Protocol protocol, std::span<const std::uint8_t> command);

    // Sets a device and the reply it sends from now on; m_Mutex held.
    void StoreDevice(std::size_t index, SimDevice device);

    const std::size_t m_DeviceCount;
    mutable std::mutex m_Mutex; // guards m_Devices, m_Silent, m_Replies, m_Macs and m_Plan
    std::vector<SimDevice> m_Devices;
    std::vector<bool> m_Silent; // devices that answer nothing while they reboot
    std::vector<std::shared_ptr<const Bytes>> m_Replies; // each device's current reply
    // Each device's MAC, packed: a batch's commands each look for their device among thousands.
    std::vector<Mac> m_Macs;
    ReplyPlan m_Plan;
    ObservationLog m_Log;

    std::vector<Listener> m_Listeners;
    std::vector<Ipv4> m_LocalAddresses;
    UniqueFd m_StopEvent; // readable once Stop() asks the receive loop to end
    std::unique_ptr<ReplyScheduler> m_Scheduler;
    std::unique_ptr<WsdResponder> m_Wsd;    // only while a device speaks WS-Discovery
    std::unique_ptr<ServiceHost> m_Service; // only while a device has a web service
    std::atomic<std::size_t> m_WsdProbesHeard{0};
    ReplyCounters m_CountersAtStop;
    std::thread m_ReceiveThread;
};

} // namespace vanmoor::devsim
