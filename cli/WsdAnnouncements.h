#pragma once

#include "Listing.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace vanmoor::cli {

// The Hello and Bye of WS-Discovery cameras, heard on every chosen local address while a watch
// runs, so that arrivals and departures show between its searches.
class WsdAnnouncements {
public:
    struct Announcement {
        bool arrived = true; // Hello; false: Bye
        DeviceInfo device;   // a Bye tells little more than the endpoint reference
    };

    // Starts listening on `localAddresses` (empty: every local address). Throws CliError where
    // the build has no WS-Discovery.
    explicit WsdAnnouncements(std::vector<std::string> localAddresses);
    ~WsdAnnouncements();
    WsdAnnouncements(const WsdAnnouncements&) = delete;
    WsdAnnouncements& operator=(const WsdAnnouncements&) = delete;

    // The announcements heard since the last call, waiting up to `patience` for the first.
    std::vector<Announcement> Poll(std::chrono::milliseconds patience);
    // Listens on `localAddresses` from now on (empty: every local address there is now).
    void ListenOn(std::vector<std::string> localAddresses);
    // Announcements lost so far because more came than the queue holds.
    std::size_t Lost() const;

private:
    struct Listening;
    std::unique_ptr<Listening> m_Listening;
};

} // namespace vanmoor::cli
