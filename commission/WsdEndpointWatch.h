#pragma once

#include "EndpointWatch.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::commission {

// Sees a camera by WS-Discovery: listens for Hellos from construction on, so that the Hello of
// a camera that moves while a change is sent is not missed, and probes where it is looked for
// until it answers or the deadline passes.
class WsdEndpointWatch final : public EndpointWatch {
public:
    struct Options {
        std::vector<std::string> localAddresses; // empty: every local address
        // How long each probe listens before the next goes out.
        std::chrono::milliseconds probeWait{1000};
    };

    explicit WsdEndpointWatch(Options options);
    ~WsdEndpointWatch() override;
    WsdEndpointWatch(const WsdEndpointWatch&) = delete;
    WsdEndpointWatch& operator=(const WsdEndpointWatch&) = delete;

    std::optional<std::vector<std::string>>
    SeenAt(std::string_view endpoint, const settings::Ipv4Octets& address,
           std::chrono::steady_clock::time_point deadline) override;
    std::optional<Sighting> SeenAnywhere(std::string_view endpoint,
                                         std::chrono::steady_clock::time_point deadline) override;

private:
    // Unicast probes to `address` when given, multicast ones otherwise.
    std::optional<Sighting> Watch(std::string_view endpoint,
                                  const std::optional<settings::Ipv4Octets>& address,
                                  std::chrono::steady_clock::time_point deadline);

    struct Listening;
    Options m_options;
    std::unique_ptr<Listening> m_listening;
};

} // namespace vanmoor::commission
