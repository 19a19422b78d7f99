#pragma once

#include "SimDevice.h"
#include "UniqueFd.h"

#include <vector>

namespace vanmoor::devsim {

// Adds and removes IPv4 addresses of the simulated devices on the lan interface of the network
// namespace, through a route netlink socket (the simulator runs as root of its namespace), so
// that a device is reachable at its own address. Not thread-safe.
class LanAddresses {
public:
    // Opens the socket in the calling thread's namespace and picks its first interface other
    // than loopback. Throws std::system_error when there is none or the socket cannot be made.
    LanAddresses();
    // Removes the addresses it added.
    ~LanAddresses();
    LanAddresses(const LanAddresses&) = delete;
    LanAddresses& operator=(const LanAddresses&) = delete;

    // Adds the address alone (a /32, so that no route and no source address changes) unless the
    // namespace has it already. Throws std::system_error when the kernel refuses it.
    void Add(const Ipv4& address);
    // Removes an address this object added; others stay.
    void Remove(const Ipv4& address);

private:
    // Sends one address request and returns the kernel's error number, 0 for success.
    int Request(int type, int flags, const Ipv4& address);

    UniqueFd m_Socket;
    int m_Interface = 0;
    std::vector<Ipv4> m_Added;
};

} // namespace vanmoor::devsim
