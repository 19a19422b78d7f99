#pragma once

#include "DeviceGenerator.h"
#include "Simulator.h"
#include "TestNetwork.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace vanmoor::bench {

// Benchmarks broadcast like the tests: they run only inside the private test network.
inline void RequireTestNetwork() {
    std::string why;
    if (!test::InsideTestNetwork(why)) {
        std::fprintf(stderr,
                     "Refusing to run outside the private test network (%s).\n"
                     "Run through tests/netns/testnet.sh, or bench/run.sh.\n",
                     why.c_str());
        std::exit(1);
    }
}

// `plain` port-4022 and `secure` port-32970 devices, listening in lan `lan`; addresses count up
// from 10.<lan>.0.1 and 10.<lan>.128.1.
inline std::unique_ptr<devsim::Simulator> StartDevices(int lan, std::size_t plain,
                                                       std::size_t secure) {
    const auto lanByte = static_cast<std::uint8_t>(lan);
    devsim::SimDevice first;
    first.name = "cam";
    first.mac = {0x02, lanByte, 0x40, 0, 0, 1};
    first.ip = {10, lanByte, 0, 1};
    auto devices = devsim::GenerateDevices(first, plain);
    first.protocol = devsim::Protocol::Port32970;
    first.mac = {0x02, lanByte, 0x32, 0, 0, 1};
    first.ip = {10, lanByte, 128, 1};
    const auto more = devsim::GenerateDevices(first, secure);
    devices.insert(devices.end(), more.begin(), more.end());
    auto simulator = std::make_unique<devsim::Simulator>(std::move(devices));
    test::RunInLan(lan, [&] { simulator->Start(); });
    return simulator;
}

inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace vanmoor::bench
