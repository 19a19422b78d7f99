#pragma once

#include "Observation.h"
#include "RecentIds.h"
#include "ReplyScheduler.h"
#include "SimDevice.h"
#include "UniqueFd.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <random>
#include <vector>

namespace vanmoor::devsim {

// The WS-Discovery side of the simulated devices: one socket on UDP port 3702 of the network
// namespace, joined to the multicast group on each of its interfaces. Devices answer a matching
// Probe by unicast to its source after a random delay, once per MessageID, and announce
// themselves with Hello and Bye. Used by the simulator's receive thread only, except Open,
// which runs on the thread whose namespace the socket belongs to.
class WsdResponder {
public:
    struct Probe {
        std::vector<std::uint8_t> bytes;
        sockaddr_in source{};
        bool multicast = false; // sent to the group rather than to this namespace's address
        Ipv4 destination{};     // the address it was sent to
        Clock::time_point arrival;
    };

    explicit WsdResponder(std::size_t deviceCount);

    // Throws std::system_error when the socket cannot be made, bound or joined.
    void Open();
    int Socket() const { return m_Socket.Get(); }

    // Multicasts a Hello (or a Bye) for each device that speaks WS-Discovery, on every
    // interface.
    void Announce(const std::vector<SimDevice>& devices, bool hello);
    // The datagrams queued on the socket, without waiting.
    std::vector<Probe> Drain(std::vector<std::uint8_t>& buffer);
    // The devices' answers to one datagram, as waves for the reply scheduler; none when it is
    // no Probe. `devices` is the simulator's list, read under its lock; `silent` marks the
    // devices that answer nothing now.
    std::vector<ReplyWave> Answer(const Probe& probe, const std::vector<SimDevice>& devices,
                                  const std::vector<bool>& silent,
                                  std::chrono::milliseconds maxDelay);
    std::size_t ProbesHeard() const { return m_ProbesHeard; }

private:
    // What one device has heard, so that it drops repeats and the probes it is to miss.
    struct Hearing {
        unsigned ignored = 0;
        wsd::RecentIds answered{16};
    };

    std::vector<Bytes> Answers(const SimDevice& device, const std::string& relatesTo);
    // The socket a device's datagrams leave from: for a device with a web service, whose address
    // the simulator took on this host, one bound to that address, so that they come from there
    // as a real camera's do; else the shared socket.
    int SocketFor(const SimDevice& device);

    UniqueFd m_Socket;
    std::mutex m_OwnMutex; // Announce may run on a web service's thread
    std::map<Ipv4, UniqueFd> m_Own;
    std::vector<in_addr> m_Interfaces; // the namespace's own IPv4 addresses, loopback aside
    std::vector<Hearing> m_Hearing;    // one per device index
    std::mt19937 m_Random;
    std::size_t m_ProbesHeard = 0;
};

} // namespace vanmoor::devsim
