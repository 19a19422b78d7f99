#include "WsdDevice.h"

#include "XAddrWebPage.h"

#include <cstring>

namespace vanmoor::site {

namespace {

// An address held in network byte order: its bytes in memory are the four numbers in order.
Ipv4Octets OctetsOfNetworkOrder(std::uint32_t address) {
    Ipv4Octets octets{};
    std::memcpy(octets.data(), &address, octets.size());
    return octets;
}

std::string TypeText(const wsd::QualifiedName& type) {
    return "{" + type.namespaceUri + "}" + type.localName;
}

} // namespace

SiteDevice DeviceFromTarget(const wsd::TargetService& target, const std::string& receivedOn,
                            std::uint32_t sender) {
    SiteDevice device;
    device.protocol = kWsdProtocol;
    device.ip = target.ipv4.value_or(Ipv4Octets{});
    device.name = target.name;
    device.localAddress = receivedOn;
    device.port = WebPortOfXAddrs(target.xaddrs, device.ip);
    WsdDetails details;
    details.endpoint = target.address;
    details.xaddrs = target.xaddrs;
    for (const wsd::QualifiedName& type : target.types) {
        details.types.push_back(TypeText(type));
    }
    details.scopes = target.scopes;
    details.hardware = target.hardware;
    details.location = target.location;
    details.metadataVersion = target.metadataVersion;
    if (sender != 0) {
        details.answeredFrom = OctetsOfNetworkOrder(sender);
    }
    device.wsd = std::move(details);
    return device;
}

} // namespace vanmoor::site
