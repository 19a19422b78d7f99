#include "WsdNetwork.h"

namespace vanmoor::wsd::test {

devsim::Simulator& WsdNetworkTest::StartDevices(int lan, const std::vector<std::string>& lines) {
    std::vector<devsim::SimDevice> devices;
    for (const std::string& line : lines) {
        devices.push_back(devsim::ParseDevice(line));
    }
    auto simulator = std::make_unique<devsim::Simulator>(std::move(devices));
    devsim::ReplyPlan plan;
    plan.wsdMaxDelay = std::chrono::milliseconds(200);
    simulator->SetReplyPlan(plan);
    vanmoor::test::RunInLan(lan, [&] { simulator->Start(); });
    simulators.push_back(std::move(simulator));
    return *simulators.back();
}

} // namespace vanmoor::wsd::test
