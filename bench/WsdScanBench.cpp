// 10,000 simulated WS-Discovery cameras in lan 1 answer one scan from the pc. Prints how many
// were found and what arrived, the parse time per ProbeMatch of the answers the devices send,
// and the heap memory per device table entry. Runs inside the private test network.
//
//   vanmoor_WsdScanBench [DEVICES [ANSWER_SPREAD_MS [WAIT_MS]]]
#include "BenchNetwork.h"
#include "DeviceConfig.h"
#include "MessageIntake.h"
#include "MessageParser.h"
#include "PugiXmlReader.h"
#include "WsdMessages.h"
#include "WsdScanner.h"

#include <malloc.h>
#include <string>
#include <vector>

namespace {

using namespace vanmoor;

std::vector<devsim::SimDevice> Cameras(std::size_t count) {
    const devsim::SimDevice first = devsim::ParseDevice(
        "protocol=3702 mac=02:01:57:00:00:01 ip=10.1.0.1 name=cam "
        "scopes=\"onvif://www.onvif.org/type/video_encoder onvif://www.onvif.org/hardware/B120 "
        "onvif://www.onvif.org/location/Hall\"");
    return devsim::GenerateDevices(first, count);
}

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

} // namespace

int main(int argc, char** argv) {
    bench::RequireTestNetwork();
    const std::size_t count = argc > 1 ? std::stoul(argv[1]) : 10000;
    const auto spread = std::chrono::milliseconds(argc > 2 ? std::stol(argv[2]) : 1000);
    const auto wait = std::chrono::milliseconds(argc > 3 ? std::stol(argv[3]) : 3000);
    const std::vector<devsim::SimDevice> cameras = Cameras(count);

    auto simulator = std::make_unique<devsim::Simulator>(cameras);
    devsim::ReplyPlan plan;
    plan.wsdMaxDelay = spread;
    simulator->SetReplyPlan(plan);
    test::RunInLan(1, [&] { simulator->Start(); });

    const wsd::PugiXmlReader reader;
    wsd::ScanOptions options;
    options.localAddresses = {test::TestNetwork::Get().pcAddresses[0]};
    options.wait = wait;
    // The simulator answers for every camera from its one address.
    options.bounds.maxEndpointsPerSender = count;
    const auto start = std::chrono::steady_clock::now();
    const wsd::ScanReport report = wsd::WsdScanner(reader).Scan(options);
    const double scanMs = bench::MillisecondsSince(start);
    const auto sent = simulator->Counters();
    simulator.reset();

    const auto& counters = report.counters;
    std::printf("devices %zu, answer spread %lld ms, scan wait %lld ms (took %.0f ms)\n", count,
                static_cast<long long>(spread.count()), static_cast<long long>(wait.count()),
                scanMs);
    std::printf("found %zu of %zu; answers sent %llu (failed %llu), received %zu: applied %zu, "
                "repeated %zu, foreign %zu, unreadable %zu, too long %zu\n",
                report.devices.size(), count, static_cast<unsigned long long>(sent.sent),
                static_cast<unsigned long long>(sent.failed), counters.datagrams, counters.applied,
                counters.repeated, counters.foreign, counters.unreadable, counters.tooLong);

    // The answers as the devices send them, parsed and applied again for the figures.
    std::vector<std::string> answers;
    const std::string probeId = "urn:uuid:7d1e5b9a-3c2f-4a6b-8e0d-1f2a3b4c5d6e";
    for (const devsim::SimDevice& camera : cameras) {
        answers.push_back(devsim::ProbeMatchesMessage(
            camera, "urn:uuid:a" + std::to_string(answers.size()), probeId));
    }
    const auto parseStart = std::chrono::steady_clock::now();
    std::vector<wsd::Message> messages;
    messages.reserve(answers.size());
    for (const std::string& answer : answers) {
        messages.push_back(wsd::ParseMessage(answer, reader).message);
    }
    const double parseMs = bench::MillisecondsSince(parseStart);
    const std::size_t heapBefore = HeapInUse();
    auto table = std::make_unique<wsd::DeviceTable>();
    table->AddOwnProbe(probeId);
    for (const wsd::Message& message : messages) {
        table->Apply(message, options.localAddresses[0]);
    }
    const std::size_t heapAfter = HeapInUse();
    std::printf("parse %.1f us per ProbeMatch (%zu bytes each on average); table %zu entries, "
                "%.0f heap bytes per entry\n",
                1000.0 * parseMs / static_cast<double>(answers.size()),
                answers.empty() ? 0 : answers[0].size(), table->Size(),
                table->Size() == 0 ? 0.0
                                   : static_cast<double>(heapAfter - heapBefore) /
                                         static_cast<double>(table->Size()));
    return report.devices.size() == count ? 0 : 1;
}
