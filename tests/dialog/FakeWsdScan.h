#pragma once

#include "WsdScan.h"

#include <string>
#include <vector>

namespace kestrun::test {

// A WS-Discovery scan without a network: finds `devices` and keeps the addresses it was
// started on.
class FakeWsdScan : public WsdScan {
public:
    std::vector<vanmoor::site::SiteDevice> devices;
    std::vector<std::vector<std::string>> startedOn;

    void Start(std::vector<std::string> localAddresses, std::chrono::milliseconds) override {
        startedOn.push_back(std::move(localAddresses));
    }
    std::vector<vanmoor::site::SiteDevice> Finish() override { return devices; }
};

} // namespace kestrun::test
