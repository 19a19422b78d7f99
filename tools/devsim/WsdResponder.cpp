#include "WsdResponder.h"

#include "DeviceSocket.h"
#include "MessageId.h"
#include "ProbeReading.h"
#include "Protocol.h"
#include "WsdMessages.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <system_error>

namespace vanmoor::devsim {

namespace {

// Past the 32,767 bytes a SOAP-over-UDP datagram may hold, within what UDP carries.
constexpr std::size_t kOversizedBytes = 40000;

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void SetIpOption(int fd, int option, const void* value, socklen_t size, const char* what) {
    if (setsockopt(fd, IPPROTO_IP, option, value, size) != 0) {
        ThrowErrno(what);
    }
}

in_addr GroupAddress() {
    in_addr group{};
    inet_pton(AF_INET, std::string(wsd::kMulticastGroup).c_str(), &group);
    return group;
}

Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// The answer made hostile in the way the device is set to.
std::vector<Bytes> HostileVariant(WsdHostile hostile, std::string answer) {
    const std::size_t declarationEnd = answer.find("?>") + 2;
    switch (hostile) {
    case WsdHostile::Malformed:
        return {AsBytes(answer.substr(0, answer.size() / 2))};
    case WsdHostile::Oversized: {
        const std::size_t header = answer.find("<s:Header>") + std::strlen("<s:Header>");
        answer.insert(header, "<p:Pad xmlns:p=\"urn:pad\">" +
                                  std::string(kOversizedBytes - answer.size(), 'x') + "</p:Pad>");
        return {AsBytes(answer)};
    }
    case WsdHostile::Doctype:
        answer.insert(declarationEnd,
                      "<!DOCTYPE s:Envelope [<!ENTITY a \"aaaaaaaaaaaaaaaa\">"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>");
        answer.insert(answer.find("<d:Scopes>") + std::strlen("<d:Scopes>"), "&c;");
        return {AsBytes(answer)};
    case WsdHostile::Twice:
        return {AsBytes(answer), AsBytes(answer)};
    case WsdHostile::None:
    case WsdHostile::ForeignRelates:
        break;
    }
    return {AsBytes(answer)};
}

} // namespace

WsdResponder::WsdResponder(std::size_t deviceCount)
    : m_Hearing(deviceCount), m_Random(std::random_device{}()) {}

void WsdResponder::Open() {
    UniqueFd socketFd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP));
    if (socketFd.Get() < 0) {
        ThrowErrno("socket");
    }
    const int fd = socketFd.Get();
    const int on = 1;
    const int off = 0;
    if (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        ThrowErrno("SO_REUSEADDR");
    }
    SetIpOption(fd, IP_PKTINFO, &on, sizeof on, "IP_PKTINFO");
    SetIpOption(fd, IP_MULTICAST_LOOP, &off, sizeof off, "IP_MULTICAST_LOOP");
    SetIpOption(fd, IP_MULTICAST_TTL, &on, sizeof on, "IP_MULTICAST_TTL");
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(wsd::kPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ThrowErrno("bind to port " + std::to_string(wsd::kPort));
    }
    std::vector<in_addr> interfaces;
    for (const Ipv4& address : LocalAddresses()) {
        if (address[0] == 127) {
            continue;
        }
        in_addr own{};
        std::memcpy(&own, address.data(), sizeof own);
        ip_mreq membership{GroupAddress(), own};
        SetIpOption(fd, IP_ADD_MEMBERSHIP, &membership, sizeof membership, "IP_ADD_MEMBERSHIP");
        interfaces.push_back(own);
    }
    m_Interfaces = std::move(interfaces);
    m_Socket = std::move(socketFd);
}

void WsdResponder::Announce(const std::vector<SimDevice>& devices, bool hello) {
    sockaddr_in group{};
    group.sin_family = AF_INET;
    group.sin_port = htons(wsd::kPort);
    group.sin_addr = GroupAddress();
    for (const in_addr& own : m_Interfaces) {
        for (const SimDevice& device : devices) {
            if (!device.wsd.enabled) {
                continue;
            }
            const int socket = SocketFor(device);
            setsockopt(socket, IPPROTO_IP, IP_MULTICAST_IF, &own, sizeof own);
            const std::string id = wsd::NewMessageId();
            const std::string text = hello ? HelloMessage(device, id) : ByeMessage(device, id);
            // An announcement is a courtesy: one that cannot leave is not retried.
            sendto(socket, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&group),
                   sizeof group);
        }
    }
}

std::vector<WsdResponder::Probe> WsdResponder::Drain(std::vector<std::uint8_t>& buffer) {
    std::vector<Probe> probes;
    while (true) {
        Probe probe;
        iovec space{buffer.data(), buffer.size()};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
        msghdr message{};
        message.msg_name = &probe.source;
        message.msg_namelen = sizeof probe.source;
        message.msg_iov = &space;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t received = recvmsg(m_Socket.Get(), &message, MSG_DONTWAIT);
        if (received < 0) {
            return probes;
        }
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
             header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(header), sizeof info);
                probe.multicast = IN_MULTICAST(ntohl(info.ipi_addr.s_addr));
                std::memcpy(probe.destination.data(), &info.ipi_addr, probe.destination.size());
            }
        }
        probe.bytes.assign(buffer.begin(), buffer.begin() + received);
        probe.arrival = Clock::now();
        probes.push_back(std::move(probe));
    }
}

std::vector<ReplyWave> WsdResponder::Answer(const Probe& probe,
                                            const std::vector<SimDevice>& devices,
                                            const std::vector<bool>& silent,
                                            std::chrono::milliseconds maxDelay) {
    ProbeRequest request;
    const std::string_view text(reinterpret_cast<const char*>(probe.bytes.data()),
                                probe.bytes.size());
    if (!ReadProbe(text, request)) {
        return {};
    }
    ++m_ProbesHeard;
    std::uniform_int_distribution<long> delay(0, maxDelay.count());
    std::map<std::pair<long, int>, std::vector<OutgoingReply>> rounds;
    for (std::size_t index = 0; index < devices.size() && index < m_Hearing.size(); ++index) {
        const SimDevice& device = devices[index];
        Hearing& hearing = m_Hearing[index];
        if (!device.wsd.enabled || silent[index] ||
            (probe.multicast && device.wsd.probes == WsdProbes::UnicastOnly)) {
            continue;
        }
        // A device with an address of its own hears a unicast probe only when it is sent there,
        // as a real camera does: else every probe a watcher sends one camera was answered by the
        // whole site.
        if (!probe.multicast && device.service.enabled && device.ip != probe.destination) {
            continue;
        }
        if (hearing.ignored < device.wsd.probesToIgnore) {
            ++hearing.ignored;
            continue;
        }
        // A repeat of a probe already answered, or one of types the device lacks.
        if (!MatchesTypes(device, request.types) || !hearing.answered.Insert(request.messageId)) {
            continue;
        }
        auto& round = rounds[{delay(m_Random), SocketFor(device)}];
        for (Bytes& bytes : Answers(device, request.messageId)) {
            round.push_back({probe.source, std::make_shared<const Bytes>(std::move(bytes))});
        }
    }
    std::vector<ReplyWave> waves;
    for (auto& [when, replies] : rounds) {
        waves.push_back({probe.arrival + std::chrono::milliseconds(when.first), when.second,
                         std::move(replies)});
    }
    return waves;
}

int WsdResponder::SocketFor(const SimDevice& device) {
    if (!device.service.enabled) {
        return m_Socket.Get();
    }
    const std::lock_guard lock(m_OwnMutex);
    if (const auto known = m_Own.find(device.ip); known != m_Own.end()) {
        return known->second.Get();
    }
    UniqueFd own(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP));
    sockaddr_in local{};
    local.sin_family = AF_INET;
    std::memcpy(&local.sin_addr, device.ip.data(), sizeof local.sin_addr);
    const int off = 0;
    const int one = 1;
    // An address the simulator has not taken (yet) cannot be bound: the shared socket it is.
    if (own.Get() < 0 ||
        bind(own.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        setsockopt(own.Get(), IPPROTO_IP, IP_MULTICAST_LOOP, &off, sizeof off) != 0 ||
        setsockopt(own.Get(), IPPROTO_IP, IP_MULTICAST_TTL, &one, sizeof one) != 0) {
        return m_Socket.Get();
    }
    return m_Own.emplace(device.ip, std::move(own)).first->second.Get();
}

std::vector<Bytes> WsdResponder::Answers(const SimDevice& device, const std::string& relatesTo) {
    const bool foreign = device.wsd.hostile == WsdHostile::ForeignRelates;
    return HostileVariant(device.wsd.hostile,
                          ProbeMatchesMessage(device, wsd::NewMessageId(),
                                              foreign ? wsd::NewMessageId() : relatesTo));
}

} // namespace vanmoor::devsim
