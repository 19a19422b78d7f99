#include "SimulatorInLan.h"

#include "TestNetwork.h"

namespace vanmoor::devsim::test {

std::unique_ptr<Simulator> StartInLan1(std::vector<SimDevice> devices, ReplyPlan plan) {
    auto simulator = std::make_unique<Simulator>(std::move(devices));
    simulator->SetReplyPlan(std::move(plan));
    vanmoor::test::RunInLan(1, [&] { simulator->Start(); });
    return simulator;
}

std::unique_ptr<ProbeClient> ProbeOnLan1(std::uint16_t port) {
    return std::make_unique<ProbeClient>("lan1", vanmoor::test::TestNetwork::Get().pcAddresses[0],
                                         port);
}

} // namespace vanmoor::devsim::test
