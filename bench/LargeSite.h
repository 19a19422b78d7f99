#pragma once

// The devices of a large site for Kestrun's list benchmarks: names out of index order, so that
// a sort moves rows, and distinct addresses and MACs.
#include "FakeLibrary.h"

#include <cstdio>
#include <vector>

namespace kestrun::bench {

inline std::vector<test::FakeDevice> LargeSite(int count) {
    std::vector<test::FakeDevice> devices(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        test::FakeDevice& device = devices[static_cast<std::size_t>(i)];
        char name[24];
        std::snprintf(name, sizeof name, "Cam-%06d", (i * 7919) % count);
        device.name = name;
        const int host = i + 2;
        device.ip = {10, static_cast<std::uint8_t>(host >> 16),
                     static_cast<std::uint8_t>(host >> 8), static_cast<std::uint8_t>(host)};
        device.netmask = {255, 0, 0, 0};
        device.gateway = {10, 0, 0, 1};
        device.mac = {0x02,
                      0x00,
                      static_cast<std::uint8_t>(i >> 24),
                      static_cast<std::uint8_t>(i >> 16),
                      static_cast<std::uint8_t>(i >> 8),
                      static_cast<std::uint8_t>(i)};
        device.port = 80;
    }
    return devices;
}

} // namespace kestrun::bench
