#include "ObservationLog.h"

namespace vanmoor::devsim {

const char* LoginSeenName(LoginSeen login) {
    switch (login) {
    case LoginSeen::Digest:
        return "digest";
    case LoginSeen::UsernameToken:
        return "wsse";
    case LoginSeen::Both:
        return "both";
    case LoginSeen::None:
        break;
    }
    return "none";
}

void ObservationLog::AddDatagram(ReceivedDatagram datagram) {
    if (m_Observer.onDatagram) {
        m_Observer.onDatagram(datagram);
    }
    {
        const std::lock_guard lock(m_Mutex);
        m_Datagrams.push_back(std::move(datagram));
    }
    m_Recorded.notify_all();
}

void ObservationLog::AddCommand(CommandEvent event) {
    if (m_Observer.onCommand) {
        m_Observer.onCommand(event);
    }
    const std::lock_guard lock(m_Mutex);
    m_Commands.push_back(event);
}

void ObservationLog::AddServiceRequest(ServiceRequest request) {
    if (m_Observer.onServiceRequest) {
        m_Observer.onServiceRequest(request);
    }
    const std::lock_guard lock(m_Mutex);
    m_ServiceRequests.push_back(std::move(request));
}

std::vector<ServiceRequest> ObservationLog::ServiceRequests() const {
    const std::lock_guard lock(m_Mutex);
    return m_ServiceRequests;
}

std::vector<ReceivedDatagram> ObservationLog::Datagrams() const {
    const std::lock_guard lock(m_Mutex);
    return m_Datagrams;
}

std::vector<CommandEvent> ObservationLog::Commands() const {
    const std::lock_guard lock(m_Mutex);
    return m_Commands;
}

bool ObservationLog::WaitForDatagrams(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_Mutex);
    return m_Recorded.wait_for(lock, timeout, [&] { return m_Datagrams.size() >= count; });
}

} // namespace vanmoor::devsim
