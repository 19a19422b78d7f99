#pragma once

#include "ProbeClient.h"
#include "Simulator.h"

#include <memory>
#include <vector>

namespace vanmoor::devsim::test {

// A simulator listening in lan 1 of the test network.
std::unique_ptr<Simulator> StartInLan1(std::vector<SimDevice> devices, ReplyPlan plan = {});

// A probe on the pc's lan 1 interface; port 0 binds an ephemeral port.
std::unique_ptr<ProbeClient> ProbeOnLan1(std::uint16_t port);

// How long a test waits for what should come at once; only a broken simulator makes it run out.
constexpr std::chrono::seconds kPatience{10};

} // namespace vanmoor::devsim::test
