// Reads 10,000 generated ProbeMatches datagrams, one camera each, as a scan on a large site
// would receive them, and fills the device table with them. Prints the parse time per
// ProbeMatch and the heap memory per table entry. No sockets.
#include "DeviceTable.h"
#include "HeapCounter.h"
#include "MessageParser.h"
#include "Protocol.h"
#include "PugiXmlReader.h"
#include "WsdDatagrams.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kDevices = 10000;
constexpr int kRounds = 5;
const std::string kOurProbe = "urn:uuid:2b0c6b4e-8f6a-4c1e-9d2a-7a3f5e9b1c20";

std::string Datagram(int device) {
    char id[13];
    std::snprintf(id, sizeof id, "%012x", device);
    const std::string ip = "10." + std::to_string(device / 65536) + "." +
                           std::to_string(device / 256 % 256) + "." + std::to_string(device % 256);
    using namespace vanmoor::wsd;
    return test::Envelope(
        test::ReplyHeader(std::string("uuid:5f0e7c1a-0001-4000-8000-") + id, kOurProbe,
                          kProbeMatchesAction),
        std::string("<wsdd:ProbeMatches><wsdd:ProbeMatch><wsa:EndpointReference><wsa:Address>"
                    "urn:uuid:00000000-0000-4000-8000-") +
            id +
            "</wsa:Address></wsa:EndpointReference>"
            "<wsdd:Types>tdn:NetworkVideoTransmitter tds:Device</wsdd:Types><wsdd:Scopes>"
            "onvif://www.onvif.org/type/video_encoder onvif://www.onvif.org/type/ptz "
            "onvif://www.onvif.org/Profile/Streaming onvif://www.onvif.org/name/Camera%20" +
            std::to_string(device) +
            " onvif://www.onvif.org/hardware/IPC-B120 "
            "onvif://www.onvif.org/location/country/Norway</wsdd:Scopes><wsdd:XAddrs>http://" +
            ip +
            "/onvif/device_service http://[fe80::1]/onvif/device_service</wsdd:XAddrs>"
            "<wsdd:MetadataVersion>10</wsdd:MetadataVersion></wsdd:ProbeMatch></"
            "wsdd:ProbeMatches>");
}

} // namespace

int main() {
    using Clock = std::chrono::steady_clock;
    std::vector<std::string> datagrams;
    std::size_t bytes = 0;
    for (int device = 0; device < kDevices; ++device) {
        datagrams.push_back(Datagram(device));
        bytes += datagrams.back().size();
    }

    const vanmoor::wsd::PugiXmlReader reader;
    std::vector<vanmoor::wsd::Message> messages(kDevices);
    double best = 1e300;
    double total = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        for (int device = 0; device < kDevices; ++device) {
            auto result = vanmoor::wsd::ParseMessage(datagrams[device], reader);
            if (result.error != vanmoor::wsd::ReadError::None) {
                std::fprintf(stderr, "datagram %d not read: %s\n", device,
                             vanmoor::wsd::ReadErrorText(result.error));
                return 1;
            }
            messages[device] = std::move(result.message);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        best = std::min(best, seconds);
        total += seconds;
    }

    const std::size_t before = bench::LiveHeapBytes();
    vanmoor::wsd::DeviceTable table;
    table.AddOwnProbe(kOurProbe);
    const std::size_t empty = bench::LiveHeapBytes() - before;
    for (const auto& message : messages) {
        table.Apply(message, "10.0.0.1");
    }
    const std::size_t filled = bench::LiveHeapBytes() - before - empty;

    std::printf("ProbeMatch datagrams: %d, %zu bytes on average\n", kDevices, bytes / kDevices);
    std::printf("found: %zu of %d\n", table.Size(), kDevices);
    std::printf("parse time per ProbeMatch: %.2f us (best of %d rounds), %.2f us on average\n",
                best / kDevices * 1e6, kRounds, total / kRounds / kDevices * 1e6);
    std::printf("memory per table entry: %zu bytes (empty table with its probe: %zu bytes)\n",
                filled / std::max<std::size_t>(table.Size(), 1), empty);
    return table.Size() == static_cast<std::size_t>(kDevices) ? 0 : 1;
}
