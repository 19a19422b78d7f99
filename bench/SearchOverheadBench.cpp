// The time search(ms) takes beyond ms, from the second search on (when the previous endpoints
// must be stopped first), with 2 and with 8 local addresses.
#include "BenchNetwork.h"
#include "vanmoor.h"

#include <algorithm>
#include <vector>

using namespace vanmoor;

namespace {

constexpr int kWait = 100;
constexpr int kRounds = 20;

void Report(int addresses) {
    init();
    setIPSearch(0, "");
    search(kWait); // the first search has no endpoints to stop
    std::vector<double> overheads;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        search(kWait);
        overheads.push_back(bench::MillisecondsSince(start) - kWait);
    }
    deinit();
    std::sort(overheads.begin(), overheads.end());
    std::printf("%-10d %-10.2f %-10.2f %.2f\n", addresses, overheads[overheads.size() / 2],
                overheads[overheads.size() * 9 / 10], overheads.back());
}

void AddAddresses(int lan, int first, int count) {
    const char* nets[] = {"192.0.2", "198.51.100"};
    for (int host = first; host < first + count; ++host) {
        const std::string command = "ip addr add " + std::string(nets[lan - 1]) + "." +
                                    std::to_string(host) + "/24 dev lan" + std::to_string(lan);
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "cannot add an address: %s\n", command.c_str());
            std::exit(1);
        }
    }
}

} // namespace

int main() {
    bench::RequireTestNetwork();
    // A few devices, so that replies arrive as in real use.
    auto lan1 = bench::StartDevices(1, 10, 10);
    auto lan2 = bench::StartDevices(2, 10, 10);
    std::printf("%-10s %-10s %-10s %s\n", "addresses", "median ms", "p90 ms", "max ms");
    Report(2);
    AddAddresses(1, 3, 3);
    AddAddresses(2, 3, 3);
    Report(8);
}
