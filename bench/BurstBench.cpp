// How many of N devices that all answer the same search at once one search(1500) finds, and
// what listing them costs (name and address as the dialog reads them, and the MAC to tell
// the devices apart).
#include "BenchNetwork.h"
#include "vanmoor.h"

#include <array>
#include <set>
#include <string>
#include <vector>

using namespace vanmoor;

namespace {

struct Result {
    std::size_t devices;
    bool searched;
    std::size_t found; // distinct MACs listed that belong to the generated devices
    double searchMilliseconds;
    double listMilliseconds;
    devsim::ReplyCounters replies;
};

// The MAC as getMacString writes it.
std::string MacText(const devsim::Mac& mac) {
    std::string text;
    for (const std::uint8_t byte : mac) {
        text += (text.empty() ? "" : "-") + std::to_string(byte);
    }
    return text;
}

Result Measure(std::size_t count) {
    // Half on each protocol, all on lan 1: one burst into one interface.
    auto devices = bench::StartDevices(1, count / 2, count - count / 2);
    std::set<std::string> generated;
    for (const devsim::SimDevice& device : devices->Devices()) {
        generated.insert(MacText(device.mac));
    }

    init();
    setIPSearch(0, "");
    const auto start = std::chrono::steady_clock::now();
    const bool searched = search(1500);
    const double searchTime = bench::MillisecondsSince(start);

    const auto listing = std::chrono::steady_clock::now();
    const int entries = getCounts();
    std::vector<std::array<char, 32>> macs(static_cast<std::size_t>(entries));
    for (int index = 0; index < entries; ++index) {
        char name[30] = {};
        char ip[30] = {};
        auto& mac = macs[static_cast<std::size_t>(index)];
        if (!getName(index, name, sizeof name) || !getIPString(index, ip, sizeof ip) ||
            !getMacString(index, mac.data(), static_cast<int>(mac.size()))) {
            mac[0] = '\0';
        }
    }
    const double listTime = bench::MillisecondsSince(listing);
    std::set<std::string> listed;
    for (const auto& mac : macs) {
        if (generated.count(mac.data()) != 0) {
            listed.insert(mac.data());
        }
    }
    deinit();
    return {count, searched, listed.size(), searchTime, listTime, devices->Counters()};
}

} // namespace

int main() {
    bench::RequireTestNetwork();
    std::printf("%-8s %-8s %-9s %-13s %-12s %-10s %s\n", "devices", "found", "searched",
                "replies sent", "send errors", "search ms", "listing ms (3 queries per device)");
    for (const std::size_t count : {1000u, 5000u, 20000u, 65536u, 100000u}) {
        const Result result = Measure(count);
        std::printf("%-8zu %-8zu %-9s %-13llu %-12llu %-10.1f %.2f\n", result.devices, result.found,
                    result.searched ? "true" : "false",
                    static_cast<unsigned long long>(result.replies.sent),
                    static_cast<unsigned long long>(result.replies.failed),
                    result.searchMilliseconds, result.listMilliseconds);
        std::fflush(stdout);
    }
}
