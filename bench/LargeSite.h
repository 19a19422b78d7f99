#pragma once

// The devices of a large site for Kestrun's list benchmarks, and their figures.
#include "FakeLibrary.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace kestrun::bench {

// Names out of index order, so that a sort moves rows; distinct addresses and MACs.
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

// What one front end's list took at one size of site, in seconds.
struct ListFigures {
    double fillWall = 0;
    double fillCpu = 0;
    double sortWall = 0;
    double sortCpu = 0;
    // The same click with every row selected: the selection follows its devices.
    double selectedSortWall = 0;
    double selectedSortCpu = 0;
};

// Measures the list at 1,000, 10,000 and 100,000 devices and prints a line for each.
inline void PrintListFigures(const std::function<ListFigures(int count)>& measure) {
    std::printf("%9s %12s %12s %12s %12s %15s %14s\n", "devices", "fill wall s", "fill cpu s",
                "sort wall s", "sort cpu s", "sel sort wall s", "sel sort cpu s");
    for (const int count : {1000, 10000, 100000}) {
        const ListFigures figures = measure(count);
        std::printf("%9d %12.3f %12.3f %12.3f %12.3f %15.3f %14.3f\n", count, figures.fillWall,
                    figures.fillCpu, figures.sortWall, figures.sortCpu, figures.selectedSortWall,
                    figures.selectedSortCpu);
        std::fflush(stdout);
    }
}

} // namespace kestrun::bench
