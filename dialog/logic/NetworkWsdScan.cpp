#include "NetworkWsdScan.h"

#include "WsdSearch.h"

#include <exception>

namespace kestrun {

namespace {

class NetworkWsdScan final : public WsdScan {
public:
    void Start(std::vector<std::string> localAddresses, std::chrono::milliseconds wait) override {
        vanmoor::site::WsdSearch::Options options;
        options.localAddresses = std::move(localAddresses);
        options.wait = wait;
        m_Search = std::make_unique<vanmoor::site::WsdSearch>(std::move(options));
    }

    std::vector<vanmoor::site::SiteDevice> Finish() override {
        if (!m_Search) {
            return {};
        }
        const std::unique_ptr<vanmoor::site::WsdSearch> search = std::move(m_Search);
        try {
            return search->Devices();
        } catch (const std::exception&) {
            // No socket to probe from: the library's search still stands on its own.
            return {};
        }
    }

private:
    std::unique_ptr<vanmoor::site::WsdSearch> m_Search;
};

} // namespace

std::unique_ptr<WsdScan> MakeNetworkWsdScan() {
    return std::make_unique<NetworkWsdScan>();
}

} // namespace kestrun
