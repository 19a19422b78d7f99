#include "WsdSockets.h"

#include "Protocol.h"

namespace vanmoor::wsd {

namespace {

// Runs the set-up steps in order until one fails.
class SetUp {
public:
    SetUp(const std::string& localIP, SocketFailure& failure) : m_failure(failure) {
        m_failure = {localIP, "", 0};
    }

    SetUp& Step(const char* name, int error) {
        if (m_ok && error != 0) {
            m_failure.step = name;
            m_failure.error = error;
            m_ok = false;
        }
        return *this;
    }
    // A step that runs only while all before it succeeded.
    template <typename Call> SetUp& Then(const char* name, Call call) {
        return m_ok ? Step(name, call()) : *this;
    }
    bool Ok() const { return m_ok; }

private:
    SocketFailure& m_failure;
    bool m_ok = true;
};

const std::string kGroup(kMulticastGroup);

} // namespace

bool OpenProbeSocket(platform::UdpSocket& socket, const std::string& localIP,
                     SocketFailure& failure) {
    return SetUp(localIP, failure)
        .Then("socket", [&] { return socket.Open(); })
        .Then("bind", [&] { return socket.BindAddress(localIP, 0); })
        .Then("IP_MULTICAST_IF", [&] { return socket.SetMulticastInterface(localIP); })
        .Then("IP_MULTICAST_TTL", [&] { return socket.SetMulticastTtl(1); })
        .Then("IP_MULTICAST_LOOP", [&] { return socket.SetMulticastLoop(false); })
        .Ok();
}

bool OpenAnnouncementSocket(platform::UdpSocket& socket, const std::string& localIP,
                            SocketFailure& failure) {
    return SetUp(localIP, failure)
        .Then("socket", [&] { return socket.Open(); })
        .Then("SO_REUSEADDR", [&] { return socket.EnableAddressReuse(); })
        .Then("IP_MULTICAST_ALL", [&] { return socket.ReceiveOnlyJoinedGroups(); })
        .Then("bind", [&] { return socket.BindGroupPort(kGroup, localIP, kPort); })
        .Then("IP_ADD_MEMBERSHIP", [&] { return socket.JoinGroup(kGroup, localIP); })
        .Ok();
}

std::size_t DrainDatagrams(platform::UdpSocket& socket, std::vector<char>& buffer,
                           std::size_t maxBytes, const std::function<bool()>& keepOn,
                           const std::function<void(std::string_view, std::uint32_t)>& take) {
    std::size_t tooLong = 0;
    while (keepOn()) {
        const auto received = socket.Receive(buffer.data(), static_cast<int>(buffer.size()));
        using Status = platform::UdpSocket::Received::Status;
        if (received.status == Status::TooLong) {
            ++tooLong;
            continue;
        }
        if (received.status != Status::Datagram) {
            return tooLong; // nothing more queued, or a failure the next wait shows again
        }
        const auto length = static_cast<std::size_t>(received.length);
        if (length > maxBytes) {
            ++tooLong;
            continue;
        }
        take(std::string_view(buffer.data(), length), received.source);
    }
    return tooLong;
}

} // namespace vanmoor::wsd
