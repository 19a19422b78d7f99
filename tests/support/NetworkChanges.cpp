#include "NetworkChanges.h"

#include "TestNetwork.h"

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace vanmoor::test {

namespace {

// Runs an `ip` command in the pc namespace of the test network, never anywhere else. The check is
// made before the first change, while the network is as testnet.sh made it.
void ChangeNetwork(const std::string& command) {
    static std::string why;
    static const bool inside = InsideTestNetwork(why);
    if (!inside) {
        throw std::runtime_error("not changing a network outside the test network: " + why);
    }
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("failed: " + command);
    }
}

// For destructors: a failure there has nobody to tell.
void TryChangeNetwork(const std::string& command) {
    try {
        ChangeNetwork(command);
    } catch (const std::exception&) {
    }
}

} // namespace

ExtraAddress::ExtraAddress(std::string addressWithPrefix, std::string device, std::string label)
    : m_Address(std::move(addressWithPrefix)), m_Device(std::move(device)) {
    ChangeNetwork("ip addr add " + m_Address + " dev " + m_Device +
                  (label.empty() ? "" : " label " + label));
}

ExtraAddress::~ExtraAddress() {
    TryChangeNetwork("ip addr del " + m_Address + " dev " + m_Device);
}

RemovedAddress::RemovedAddress(std::string addressWithPrefix, std::string device)
    : m_Address(std::move(addressWithPrefix)), m_Device(std::move(device)) {
    ChangeNetwork("ip addr del " + m_Address + " dev " + m_Device);
}

RemovedAddress::~RemovedAddress() {
    TryChangeNetwork("ip addr add " + m_Address + " brd + dev " + m_Device);
}

LinkDown::LinkDown(std::string device) : m_Device(std::move(device)) {
    ChangeNetwork("ip link set " + m_Device + " down");
}

LinkDown::~LinkDown() {
    TryChangeNetwork("ip link set " + m_Device + " up");
    // The kernel reports the carrier back a moment later (up to a second on a busy machine);
    // until then what is sent through the link is dropped, and the test after it would see the
    // link as still down.
    for (int tries = 0; tries < 50; ++tries) {
        if (std::system(("ip link show dev " + m_Device + " | grep -q 'state UP'").c_str()) == 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // Taking lan1 down removed the default route through it, which the limited broadcast needs.
    if (m_Device == "lan1") {
        TryChangeNetwork("ip route replace default dev lan1");
    }
}

} // namespace vanmoor::test
