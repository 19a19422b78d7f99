#include "LanAddresses.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ifaddrs.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace vanmoor::devsim {

namespace {

[[noreturn]] void ThrowErrno(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

int LanInterface() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        ThrowErrno(errno, "getifaddrs");
    }
    int index = 0;
    for (const ifaddrs* entry = list; entry != nullptr && index == 0; entry = entry->ifa_next) {
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET &&
            (entry->ifa_flags & IFF_LOOPBACK) == 0) {
            index = static_cast<int>(if_nametoindex(entry->ifa_name));
        }
    }
    freeifaddrs(list);
    if (index == 0) {
        ThrowErrno(ENODEV, "no lan interface for the devices' addresses");
    }
    return index;
}

} // namespace

LanAddresses::LanAddresses()
    : m_Socket(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)),
      m_Interface(LanInterface()) {
    if (m_Socket.Get() < 0) {
        ThrowErrno(errno, "netlink socket");
    }
}

LanAddresses::~LanAddresses() {
    for (const Ipv4& address : m_Added) {
        Request(RTM_DELADDR, 0, address);
    }
}

void LanAddresses::Add(const Ipv4& address) {
    const int error = Request(RTM_NEWADDR, NLM_F_CREATE | NLM_F_EXCL, address);
    if (error == 0) {
        m_Added.push_back(address);
    } else if (error != EEXIST) {
        ThrowErrno(error, "adding a device's address to the lan interface");
    }
}

void LanAddresses::Remove(const Ipv4& address) {
    const auto added = std::find(m_Added.begin(), m_Added.end(), address);
    if (added != m_Added.end()) {
        Request(RTM_DELADDR, 0, address);
        m_Added.erase(added);
    }
}

int LanAddresses::Request(int type, int flags, const Ipv4& address) {
    struct {
        nlmsghdr header;
        ifaddrmsg message;
        alignas(NLMSG_ALIGNTO) char attributes[2 * RTA_SPACE(4)];
    } request{};
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ifaddrmsg)) + 2 * RTA_SPACE(4);
    request.header.nlmsg_type = static_cast<std::uint16_t>(type);
    request.header.nlmsg_flags = static_cast<std::uint16_t>(NLM_F_REQUEST | NLM_F_ACK | flags);
    request.message.ifa_family = AF_INET;
    request.message.ifa_prefixlen = 32;
    request.message.ifa_index = static_cast<unsigned>(m_Interface);
    char* at = request.attributes;
    for (const unsigned short kind : {IFA_LOCAL, IFA_ADDRESS}) {
        auto* attribute = reinterpret_cast<rtattr*>(at);
        attribute->rta_type = kind;
        attribute->rta_len = RTA_LENGTH(4);
        std::memcpy(RTA_DATA(attribute), address.data(), 4);
        at += RTA_SPACE(4);
    }
    if (send(m_Socket.Get(), &request, request.header.nlmsg_len, 0) < 0) {
        return errno;
    }
    alignas(nlmsghdr) char answer[1024];
    const ssize_t received = recv(m_Socket.Get(), answer, sizeof answer, 0);
    if (received < static_cast<ssize_t>(NLMSG_LENGTH(sizeof(nlmsgerr)))) {
        return received < 0 ? errno : EPROTO;
    }
    const auto* header = reinterpret_cast<const nlmsghdr*>(answer);
    if (header->nlmsg_type != NLMSG_ERROR) {
        return EPROTO;
    }
    return -static_cast<const nlmsgerr*>(NLMSG_DATA(header))->error;
}

} // namespace vanmoor::devsim
