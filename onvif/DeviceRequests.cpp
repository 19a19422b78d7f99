#include "DeviceRequests.h"

#include "XmlText.h"

namespace vanmoor::onvif {

namespace {

constexpr std::string_view kNamespaces = " xmlns:tds=\"http://www.onvif.org/ver10/device/wsdl\""
                                         " xmlns:tt=\"http://www.onvif.org/ver10/schema\"";

std::string Element(std::string_view name, std::string_view content) {
    return "<" + std::string(name) + ">" + std::string(content) + "</" + std::string(name) + ">";
}

DeviceRequest Request(std::string_view operation, std::string_view content) {
    const std::string action = std::string(kDeviceNamespace) + "/" + std::string(operation);
    if (content.empty()) {
        return {action, "<tds:" + std::string(operation) + " xmlns:tds=\"" +
                            std::string(kDeviceNamespace) + "\"/>"};
    }
    return {action, "<tds:" + std::string(operation) + std::string(kNamespaces) + ">" +
                        std::string(content) + "</tds:" + std::string(operation) + ">"};
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

} // namespace

DeviceRequest GetDeviceInformationRequest() {
    return Request("GetDeviceInformation", {});
}
DeviceRequest GetNetworkInterfacesRequest() {
    return Request("GetNetworkInterfaces", {});
}
DeviceRequest GetNetworkDefaultGatewayRequest() {
    return Request("GetNetworkDefaultGateway", {});
}
DeviceRequest GetDnsRequest() {
    return Request("GetDNS", {});
}
DeviceRequest GetSystemDateAndTimeRequest() {
    return Request("GetSystemDateAndTime", {});
}
DeviceRequest GetServiceCapabilitiesRequest() {
    return Request("GetServiceCapabilities", {});
}
DeviceRequest GetHostnameRequest() {
    return Request("GetHostname", {});
}
DeviceRequest GetNetworkProtocolsRequest() {
    return Request("GetNetworkProtocols", {});
}
DeviceRequest GetScopesRequest() {
    return Request("GetScopes", {});
}
DeviceRequest SystemRebootRequest() {
    return Request("SystemReboot", {});
}

DeviceRequest SetNetworkInterfacesRequest(std::string_view token, bool dhcp,
                                          const Ipv4Octets& address, int prefixLength) {
    std::string ipv4 = Element("tt:Enabled", "true");
    if (dhcp) {
        ipv4 += Element("tt:DHCP", "true");
    } else {
        ipv4 += Element("tt:Manual", Element("tt:Address", settings::DottedText(address)) +
                                         Element("tt:PrefixLength", std::to_string(prefixLength)));
        ipv4 += Element("tt:DHCP", "false");
    }
    return Request("SetNetworkInterfaces",
                   Element("tds:InterfaceToken", EscapeXml(token)) +
                       Element("tds:NetworkInterface", Element("tt:IPv4", ipv4)));
}

DeviceRequest SetNetworkDefaultGatewayRequest(const Ipv4Octets& gateway) {
    return Request("SetNetworkDefaultGateway",
                   Element("tds:IPv4Address", settings::DottedText(gateway)));
}

DeviceRequest SetDnsRequest(const std::vector<std::string>& searchDomains,
                            const std::vector<Ipv4Octets>& servers) {
    std::string content = Element("tds:FromDHCP", Bool(false));
    for (const std::string& domain : searchDomains) {
        content += Element("tds:SearchDomain", EscapeXml(domain));
    }
    for (const Ipv4Octets& server : servers) {
        content +=
            Element("tds:DNSManual", Element("tt:Type", "IPv4") +
                                         Element("tt:IPv4Address", settings::DottedText(server)));
    }
    return Request("SetDNS", content);
}

DeviceRequest SetNetworkProtocolsRequest(const HttpProtocol& http) {
    std::string protocol = Element("tt:Name", "HTTP") + Element("tt:Enabled", Bool(http.enabled));
    for (const std::uint16_t port : http.ports) {
        protocol += Element("tt:Port", std::to_string(port));
    }
    return Request("SetNetworkProtocols", Element("tds:NetworkProtocols", protocol));
}

DeviceRequest SetScopesRequest(const std::vector<std::string>& scopes) {
    std::string content;
    for (const std::string& scope : scopes) {
        content += Element("tds:Scopes", EscapeXml(scope));
    }
    return Request("SetScopes", content);
}

} // namespace vanmoor::onvif
