#include "WsdSearch.h"

#include "PugiXmlReader.h"
#include "WsdScanner.h"
#include "XAddrWebPage.h"

namespace vanmoor::cli {

namespace {

std::string TypeText(const wsd::QualifiedName& type) {
    return "{" + type.namespaceUri + "}" + type.localName;
}

DeviceInfo FromEntry(const wsd::DeviceTable::Entry& entry) {
    const wsd::TargetService& target = entry.target;
    DeviceInfo device;
    device.protocol = listing::kWsdProtocol;
    device.ip = target.ipv4.value_or(Ipv4Octets{});
    device.name = target.name;
    device.localAddress = entry.receivedOn;
    device.port = WebPortOfXAddrs(target.xaddrs, device.ip);
    listing::WsdDetails details;
    details.endpoint = target.address;
    details.xaddrs = target.xaddrs;
    for (const wsd::QualifiedName& type : target.types) {
        details.types.push_back(TypeText(type));
    }
    details.scopes = target.scopes;
    details.hardware = target.hardware;
    details.location = target.location;
    details.metadataVersion = target.metadataVersion;
    device.wsd = std::move(details);
    return device;
}

std::vector<DeviceInfo> Scan(const WsdSearch::Options& options) {
    const wsd::PugiXmlReader reader;
    wsd::ScanOptions scan;
    scan.localAddresses = options.localAddresses;
    scan.target = options.target;
    if (options.wait) {
        scan.wait = *options.wait;
    }
    std::vector<DeviceInfo> devices;
    for (const wsd::DeviceTable::Entry& entry : wsd::WsdScanner(reader).Scan(scan).devices) {
        devices.push_back(FromEntry(entry));
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

std::vector<DeviceInfo> WsdSearch::Devices() {
    return m_Devices.get();
}

} // namespace vanmoor::cli
