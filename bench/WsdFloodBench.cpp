// A flood of forged ProbeMatches, as any host of the LAN can send once it has read the
// probe's multicast MessageID: 600 datagrams of 32 new endpoints with 96 one-letter items
// each, applied to a device table with its default bounds, from 600 sending addresses (as if
// forged) and from one. Prints the entries kept and the heap the table takes at its bound.
// No sockets.
#include "DeviceTable.h"
#include "HeapCounter.h"
#include "MessageParser.h"
#include "Protocol.h"
#include "PugiXmlReader.h"
#include "WsdDatagrams.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kDatagrams = 600;
constexpr int kEndpoints = 32;
const std::string kOurProbe = "urn:uuid:2b0c6b4e-8f6a-4c1e-9d2a-7a3f5e9b1c20";

std::string Items(const std::string& prefix) {
    std::string items;
    for (int i = 0; i < 32; ++i) {
        items += (items.empty() ? "" : " ") + prefix + static_cast<char>('A' + i);
    }
    return items;
}

std::string Datagram(int number) {
    using namespace vanmoor::wsd;
    std::string matches;
    for (int i = 0; i < kEndpoints; ++i) {
        matches += "<wsdd:ProbeMatch><wsa:EndpointReference><wsa:Address>" +
                   std::to_string(number * kEndpoints + i) +
                   "</wsa:Address></wsa:EndpointReference><wsdd:Types>" + Items("tdn:") +
                   "</wsdd:Types><wsdd:Scopes>" + Items("") + "</wsdd:Scopes><wsdd:XAddrs>" +
                   Items("") + "</wsdd:XAddrs></wsdd:ProbeMatch>";
    }
    return test::Envelope(
        test::ReplyHeader("uuid:forged-" + std::to_string(number), kOurProbe, kProbeMatchesAction),
        "<wsdd:ProbeMatches>" + matches + "</wsdd:ProbeMatches>");
}

} // namespace

int main() {
    const vanmoor::wsd::PugiXmlReader reader;
    std::vector<vanmoor::wsd::Message> messages;
    std::size_t datagramBytes = 0;
    for (int number = 0; number < kDatagrams; ++number) {
        const std::string datagram = Datagram(number);
        datagramBytes += datagram.size();
        auto result = vanmoor::wsd::ParseMessage(datagram, reader);
        if (result.error != vanmoor::wsd::ReadError::None) {
            std::fprintf(stderr, "datagram %d not read: %s\n", number,
                         vanmoor::wsd::ReadErrorText(result.error));
            return 1;
        }
        messages.push_back(std::move(result.message));
    }
    std::printf("forged datagrams: %d of %zu bytes on average, %d endpoints of 96 items each\n",
                kDatagrams, datagramBytes / kDatagrams, kEndpoints);
    const vanmoor::wsd::DeviceTable::Bounds bounds;
    for (const bool oneSender : {false, true}) {
        const std::size_t before = bench::LiveHeapBytes();
        {
            vanmoor::wsd::DeviceTable table;
            table.AddOwnProbe(kOurProbe);
            std::size_t refused = 0;
            for (std::size_t i = 0; i < messages.size(); ++i) {
                const auto sender = static_cast<std::uint32_t>(oneSender ? 1 : i + 1);
                refused += table.Apply(messages[i], "192.0.2.1", sender).refused;
            }
            std::printf("%s: %zu entries kept, %zu refused; counted %.1f MiB of the bound's "
                        "%.1f MiB; heap %.1f MiB\n",
                        oneSender ? "one sending address" : "a sending address per datagram",
                        table.Size(), refused, static_cast<double>(table.Bytes()) / 1048576.0,
                        static_cast<double>(bounds.maxBytes) / 1048576.0,
                        static_cast<double>(bench::LiveHeapBytes() - before) / 1048576.0);
        }
    }
    return 0;
}
