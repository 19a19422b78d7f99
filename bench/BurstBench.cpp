// How many of N devices that all answer the same search at once one search(1500) finds, and
// what listing them costs (two queries per device, as the dialog does).
#include "BenchNetwork.h"
#include "vanmoor.h"

#include <vector>

using namespace vanmoor;

namespace {

struct Result {
    std::size_t devices;
    int found;
    double searchMilliseconds;
    double listMilliseconds;
    std::uint64_t repliesSent;
};

Result Measure(std::size_t count) {
    // Half on each protocol, all on lan 1: one burst into one interface.
    auto devices = bench::StartDevices(1, count / 2, count - count / 2);

    init();
    setIPSearch(0, "");
    const auto start = std::chrono::steady_clock::now();
    search(1500);
    const double searchTime = bench::MillisecondsSince(start);

    const auto listing = std::chrono::steady_clock::now();
    int found = 0;
    const int entries = getCounts();
    for (int index = 0; index < entries; ++index) {
        char name[30] = {};
        char ip[30] = {};
        if (getName(index, name, sizeof name) && getIPString(index, ip, sizeof ip)) {
            ++found;
        }
    }
    const double listTime = bench::MillisecondsSince(listing);
    deinit();
    const std::uint64_t sent = devices->Counters().sent;
    return {count, found, searchTime, listTime, sent};
}

} // namespace

int main() {
    bench::RequireTestNetwork();
    std::printf("%-8s %-8s %-14s %-12s %s\n", "devices", "found", "replies sent", "search ms",
                "listing ms (2 queries per device)");
    for (const std::size_t count : {1000u, 5000u, 20000u, 65536u, 100000u}) {
        const Result result = Measure(count);
        std::printf("%-8zu %-8d %-14llu %-12.1f %.2f\n", result.devices, result.found,
                    static_cast<unsigned long long>(result.repliesSent), result.searchMilliseconds,
                    result.listMilliseconds);
        std::fflush(stdout);
    }
}
