// Devices out of the box on one factory address (1,000, then 10,000), re-addressed into a /16
// and verified by the batch addressing of `vanmoor assign`, with 10% of the settings commands
// dropped by the simulator on purpose so that the retries have to recover them.
#include "BatchAssign.h"
#include "BenchNetwork.h"
#include "Session.h"
#include "SessionLink.h"
#include "SiteSurvey.h"

#include <iostream>
#include <random>

using namespace vanmoor;

namespace {

constexpr int kSearchMilliseconds = 1000;

std::unique_ptr<devsim::Simulator> StartFactorySite(std::size_t count) {
    devsim::SimDevice first;
    first.mac = {0x02, 0x00, 0x5e, 0x40, 0, 1};
    first.name = "IPCam";
    std::vector<devsim::SimDevice> devices = devsim::GenerateDevices(first, count);
    std::mt19937 random(11); // fixed: every run drops the same commands
    std::vector<std::size_t> order(devices.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::shuffle(order.begin(), order.end(), random);
    for (std::size_t i = 0; i < order.size(); ++i) {
        devices[order[i]].ip = {192, 168, 1, 108};
        devices[order[i]].name = "IPCam";
        devices[order[i]].commandsToDrop = i < count / 10 ? 1 : 0;
    }
    auto simulator = std::make_unique<devsim::Simulator>(std::move(devices));
    test::RunInLan(1, [&] { simulator->Start(); });
    return simulator;
}

// Re-addresses `devices` devices and prints the figures; true when every one was changed and
// verified.
bool RunSite(std::size_t devices, double targetMilliseconds) {
    const auto simulator = StartFactorySite(devices);
    const cli::Console console{std::cout, std::cerr};
    cli::SearchOptions options;
    options.waitMilliseconds = kSearchMilliseconds;
    options.protocols.wsd = false; // as assign's batch searches: by MAC, the device protocols
    cli::Session session(console, false, options);
    cli::SessionLink link(session);

    const auto start = std::chrono::steady_clock::now();
    const std::vector<commission::SiteDevice> site =
        link.Search().value_or(std::vector<commission::SiteDevice>{});
    const double searchTime = bench::MillisecondsSince(start);

    const auto planning = std::chrono::steady_clock::now();
    commission::PlanRequest request;
    request.first = {10, 20, 0, 10};
    request.netmask = {255, 255, 0, 0};
    request.gateway = {10, 20, 0, 1};
    request.namePattern = "Cam-{n:05}";
    // The host is not on 10.20.0.0/16: the devices answer the broadcast search all the same.
    request.allowOtherSubnet = true;
    const auto plan = commission::PlanAddresses(site, site, cli::HostAddresses(session), request);
    const double planTime = bench::MillisecondsSince(planning);

    const auto applying = std::chrono::steady_clock::now();
    const auto outcomes = commission::BatchAssign(link, {}, 2).Apply(plan);
    const double applyTime = bench::MillisecondsSince(applying);
    const double totalTime = bench::MillisecondsSince(start);

    std::size_t changed = 0;
    std::size_t sends = 0;
    for (const commission::AssignOutcome& outcome : outcomes) {
        changed += outcome.result == commission::AssignResult::Changed ? 1 : 0;
        sends += static_cast<std::size_t>(outcome.sends);
    }
    std::size_t dropped = 0;
    for (const devsim::CommandEvent& event : simulator->Commands()) {
        dropped += event.outcome == devsim::CommandOutcome::Dropped ? 1 : 0;
    }
    const bool met = totalTime < targetMilliseconds && changed == devices;
    std::printf("devices on the factory address   %zu\n", devices);
    std::printf("found by the first search        %zu (%.0f ms, search wait %d ms)\n", site.size(),
                searchTime, kSearchMilliseconds);
    std::printf("planned                          %zu (%.1f ms)\n", plan.size(), planTime);
    std::printf("commands sent                    %zu, dropped on purpose %zu\n", sends, dropped);
    std::printf("changed and verified             %zu of %zu\n", changed, plan.size());
    std::printf("send, verify and resend          %.0f ms\n", applyTime);
    std::printf("wall time, first search to report %.0f ms (target under %.0f ms: %s)\n\n",
                totalTime, targetMilliseconds, met ? "met" : "missed");
    return changed == devices;
}

} // namespace

int main() {
    bench::RequireTestNetwork();
    const bool thousand = RunSite(1000, 5000);
    const bool tenThousand = RunSite(10000, 10000);
    return thousand && tenThousand ? 0 : 1;
}
