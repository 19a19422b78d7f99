#pragma once

#include "UdpSocket.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::wsd {

// Where a socket's set-up stopped: the step and the system's error code.
struct SocketFailure {
    std::string address; // the local address the socket was for
    const char* step = "";
    int error = 0;
};

// Opens `socket` for probes from `localIP`: bound to that address on a port the system picks,
// so that devices answer it by unicast, with multicasts leaving through that address's
// interface, one hop only and not looped back to this host. False with `failure` filled in.
bool OpenProbeSocket(platform::UdpSocket& socket, const std::string& localIP,
                     SocketFailure& failure);

// Opens `socket` for the announcements multicast to the discovery port on the interface of
// `localIP`: the group joined there alone, and nothing taken that another socket of the host
// joined elsewhere, so that each announcement is credited to the interface it arrived on.
bool OpenAnnouncementSocket(platform::UdpSocket& socket, const std::string& localIP,
                            SocketFailure& failure);

// Takes the datagrams queued on `socket` while `keepOn` holds, asked before each one, passing
// each with its sender's address (network byte order) to `take` as long as it is within
// `maxBytes`; longer ones are dropped whole. A sender
// that keeps the queue full thus cannot hold the caller past its deadline or its stop.
// `buffer` must hold more than `maxBytes`. Returns the number dropped for their length.
std::size_t DrainDatagrams(platform::UdpSocket& socket, std::vector<char>& buffer,
                           std::size_t maxBytes, const std::function<bool()>& keepOn,
                           const std::function<void(std::string_view, std::uint32_t)>& take);

} // namespace vanmoor::wsd
