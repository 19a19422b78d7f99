#pragma once

#include "LibraryFixture.h"
#include "Simulator.h"
#include "TestNetwork.h"

#include <future>
#include <memory>
#include <string>
#include <vector>

namespace vanmoor::test {

using devsim::Protocol;
using devsim::ReplyPlan;
using devsim::SimDevice;
using devsim::Simulator;

// How long a search waits for replies. Simulated devices answer at once; the margin is for
// loaded machines and sanitizer builds.
constexpr int kSearchMilliseconds = 1000;
// How long a test waits for what should come at once; only a fault makes it run out.
constexpr std::chrono::seconds kPatience{10};

// Polls `condition` until it holds (true) or the patience runs out (false).
bool WaitUntil(const std::function<bool()>& condition);

// A device of `protocol` whose MAC ends in `id` and whose address is `ip`.
SimDevice MakeDevice(Protocol protocol, std::uint8_t id, devsim::Ipv4 ip, std::string name);

// The device's MAC as getMacString writes it.
std::string MacText(const SimDevice& device);

// One row of the device table, read through the queries.
struct Listed {
    int index;
    std::string name;
    std::string ip; // as getIPString_DetVer gives it
    char protocol;
};

// Library tests with simulated devices in the lan namespaces of the test network.
class DeviceTest : public LibraryTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a simulator with `devices` in lan `lan` (1 or 2).
    Simulator& StartDevices(int lan, std::vector<SimDevice> devices, ReplyPlan plan = {});
    // Runs `during` while a search waits: after every simulator saw the requests, so the
    // requests are out and the endpoints exist. Returns what search returned.
    bool SearchWhile(const std::function<void()>& during);
    // Every index that the queries answer for, in index order.
    std::vector<Listed> ListDevices();
    // The index whose MAC text is `macText`, or -1.
    int IndexOf(const std::string& macText);

    const TestNetwork& net = TestNetwork::Get();
    std::vector<std::unique_ptr<Simulator>> simulators;
};

} // namespace vanmoor::test
