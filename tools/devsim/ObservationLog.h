#pragma once

#include "Observation.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace vanmoor::devsim {

// Everything the simulator received and every command outcome, kept for tests to read and wait
// for. Thread-safe; the observer's callbacks run outside the lock.
class ObservationLog {
public:
    explicit ObservationLog(Observer observer) : m_Observer(std::move(observer)) {}

    void AddDatagram(ReceivedDatagram datagram);
    void AddCommand(CommandEvent event);
    void AddServiceRequest(ServiceRequest request);

    std::vector<ReceivedDatagram> Datagrams() const;
    std::vector<CommandEvent> Commands() const;
    std::vector<ServiceRequest> ServiceRequests() const;

    // True as soon as at least `count` datagrams were recorded; false when the timeout passed.
    bool WaitForDatagrams(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    const Observer m_Observer;
    mutable std::mutex m_Mutex;
    mutable std::condition_variable m_Recorded;
    std::vector<ReceivedDatagram> m_Datagrams;
    std::vector<CommandEvent> m_Commands;
    std::vector<ServiceRequest> m_ServiceRequests;
};

} // namespace vanmoor::devsim
