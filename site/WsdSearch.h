#pragma once

#include "SiteRecord.h"

#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::site {

// A WS-Discovery scan on a thread of its own, so that it runs beside the library's search and
// a search takes no longer than the longer of the two.
class WsdSearch {
public:
    struct Options {
        std::vector<std::string> localAddresses; // empty: every local address
        std::optional<std::string> target;       // probe this address by unicast instead
        std::chrono::milliseconds wait{};
    };

    // Whether this build speaks WS-Discovery. Where it does not, a search starts nothing and
    // finds no device.
    static bool Available();

    // Starts the scan.
    explicit WsdSearch(Options options);
    // Waits for the scan if nobody took its devices.
    ~WsdSearch();
    WsdSearch(const WsdSearch&) = delete;
    WsdSearch& operator=(const WsdSearch&) = delete;

    // Waits for the scan; each camera found, with the common fields it tells filled and the
    // local address it answered through. Call once.
    std::vector<SiteDevice> Devices();

private:
    std::future<std::vector<SiteDevice>> m_Devices;
};

} // namespace vanmoor::site
