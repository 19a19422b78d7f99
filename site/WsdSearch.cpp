#include "WsdSearch.h"

#include "PlatformXmlReader.h"
#include "WsdDevice.h"
#include "WsdScanner.h"

namespace vanmoor::site {

namespace {

std::vector<SiteDevice> Scan(const WsdSearch::Options& options) {
    const std::unique_ptr<wsd::XmlReader> reader = wsd::MakeXmlReader();
    wsd::ScanOptions scan;
    scan.localAddresses = options.localAddresses;
    scan.target = options.target;
    scan.wait = options.wait;
    std::vector<SiteDevice> devices;
    for (const wsd::DeviceTable::Entry& entry : wsd::WsdScanner(*reader).Scan(scan).devices) {
        devices.push_back(DeviceFromTarget(entry.target, entry.receivedOn, entry.sender));
    }
    return devices;
}

} // namespace

bool WsdSearch::Available() {
    return true;
}

WsdSearch::WsdSearch(Options options)
    : m_Devices(std::async(std::launch::async,
                           [options = std::move(options)] { return Scan(options); })) {}

WsdSearch::~WsdSearch() {
    if (m_Devices.valid()) {
        m_Devices.wait();
    }
}

std::vector<SiteDevice> WsdSearch::Devices() {
    return m_Devices.get();
}

} // namespace vanmoor::site
