#pragma once

#include "CameraSettings.h"
#include "DeviceNamespaces.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::onvif {

// One operation of the device service as SoapCaller::Call takes it: the action URI and the
// request element, which declares its own namespaces (tds: for the request's own children,
// tt: inside the schema's types). Texts are XML-escaped.
struct DeviceRequest {
    std::string action;
    std::string body;
};

// Answered without a login: the camera's clock and the logins it offers.
DeviceRequest GetSystemDateAndTimeRequest();
DeviceRequest GetServiceCapabilitiesRequest();

DeviceRequest GetDeviceInformationRequest();
DeviceRequest GetNetworkInterfacesRequest();
DeviceRequest GetNetworkDefaultGatewayRequest();
DeviceRequest GetDnsRequest();
DeviceRequest GetHostnameRequest();
DeviceRequest GetNetworkProtocolsRequest();
DeviceRequest GetScopesRequest();
DeviceRequest SystemRebootRequest();

// IPv4 of the interface `token` on: from DHCP when `dhcp`, else the one manual address.
DeviceRequest SetNetworkInterfacesRequest(std::string_view token, bool dhcp,
                                          const Ipv4Octets& address, int prefixLength);
DeviceRequest SetNetworkDefaultGatewayRequest(const Ipv4Octets& gateway);
// Manual DNS servers (not from DHCP), with the search domains to keep.
DeviceRequest SetDnsRequest(const std::vector<std::string>& searchDomains,
                            const std::vector<Ipv4Octets>& servers);
// The HTTP protocol with its enabled state and ports.
DeviceRequest SetNetworkProtocolsRequest(const HttpProtocol& http);
// Every configurable scope, in order.
DeviceRequest SetScopesRequest(const std::vector<std::string>& scopes);

} // namespace vanmoor::onvif
