#include "SoapAnswers.h"

#include "AddressText.h"
#include "MarkupText.h"
#include "WsdMessages.h"

#include <bitset>
#include <cstdio>
#include <ctime>

namespace vanmoor::devsim {

namespace {

std::string Element(std::string_view name, std::string_view content) {
    return "<" + std::string(name) + ">" + std::string(content) + "</" + std::string(name) + ">";
}

std::string Flag(bool value) {
    return value ? "true" : "false";
}

int PrefixLength(const Ipv4& netmask) {
    int bits = 0;
    for (const std::uint8_t byte : netmask) {
        bits += static_cast<int>(std::bitset<8>(byte).count());
    }
    return bits;
}

std::string DateTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    return Element("tt:Date", Element("tt:Year", std::to_string(parts.tm_year + 1900)) +
                                  Element("tt:Month", std::to_string(parts.tm_mon + 1)) +
                                  Element("tt:Day", std::to_string(parts.tm_mday))) +
           Element("tt:Time", Element("tt:Hour", std::to_string(parts.tm_hour)) +
                                  Element("tt:Minute", std::to_string(parts.tm_min)) +
                                  Element("tt:Second", std::to_string(parts.tm_sec)));
}

std::string SystemDateAndTime(std::chrono::system_clock::time_point deviceNow) {
    return Element("tds:SystemDateAndTime", "<tt:DateTimeType>Manual</tt:DateTimeType>"
                                            "<tt:DaylightSavings>false</tt:DaylightSavings>"
                                            "<tt:TimeZone><tt:TZ>UTC0</tt:TZ></tt:TimeZone>" +
                                                Element("tt:UTCDateTime", DateTime(deviceNow)) +
                                                Element("tt:LocalDateTime", DateTime(deviceNow)));
}

std::string ServiceCapabilities(const SimDevice& device) {
    const ServiceLogin login = device.service.login;
    return "<tds:Capabilities><tds:Network IPFilter=\"false\" ZeroConfiguration=\"false\" "
           "IPVersion6=\"false\" DynDNS=\"false\"/><tds:Security HttpDigest=\"" +
           Flag(login != ServiceLogin::UsernameToken) + "\" UsernameToken=\"" +
           Flag(login != ServiceLogin::Digest) + "\"" +
           (login == ServiceLogin::UsernameToken ? "" : " HashingAlgorithms=\"MD5,SHA-256\"") +
           "/><tds:System DiscoveryResolve=\"false\" DiscoveryBye=\"true\" "
           "RemoteDiscovery=\"false\" SystemBackup=\"false\" SystemLogging=\"false\" "
           "FirmwareUpgrade=\"false\"/></tds:Capabilities>";
}

std::string DeviceInformation(const SimDevice& device) {
    return Element("tds:Manufacturer", Escaped(device.brand)) +
           Element("tds:Model", Escaped(device.model)) +
           Element("tds:FirmwareVersion", Escaped(device.version)) +
           Element("tds:SerialNumber", Escaped(device.service.serial)) +
           Element("tds:HardwareId", Escaped(device.service.hardware));
}

std::string NetworkInterfaces(const SimDevice& device) {
    const std::string address =
        Element("tt:Address", FormatIpv4(device.ip)) +
        Element("tt:PrefixLength", std::to_string(PrefixLength(device.netmask)));
    return "<tds:NetworkInterfaces token=\"eth0\"><tt:Enabled>true</tt:Enabled><tt:Info>"
           "<tt:Name>eth0</tt:Name>" +
           Element("tt:HwAddress", FormatMac(device.mac)) +
           "<tt:MTU>1500</tt:MTU></tt:Info><tt:IPv4><tt:Enabled>true</tt:Enabled><tt:Config>" +
           (device.dhcp ? Element("tt:FromDHCP", address) : Element("tt:Manual", address)) +
           Element("tt:DHCP", Flag(device.dhcp)) + "</tt:Config></tt:IPv4></tds:NetworkInterfaces>";
}

std::string Dns(const SimDevice& device) {
    std::string servers;
    for (const Ipv4& server : {device.dns1, device.dns2}) {
        if (server != Ipv4{}) {
            servers +=
                Element(device.dhcp ? "tt:DNSFromDHCP" : "tt:DNSManual",
                        "<tt:Type>IPv4</tt:Type>" + Element("tt:IPv4Address", FormatIpv4(server)));
        }
    }
    return Element("tds:DNSInformation", Element("tt:FromDHCP", Flag(device.dhcp)) + servers);
}

std::string Scopes(const SimDevice& device) {
    std::string text;
    for (const std::string& scope : WsdScopes(device)) {
        text +=
            Element("tds:Scopes",
                    Element("tt:ScopeDef", IsConfigurableScope(scope) ? "Configurable" : "Fixed") +
                        Element("tt:ScopeItem", Escaped(scope)));
    }
    return text;
}

} // namespace

std::string SoapEnvelope(std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<env:Envelope xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:tds=\"http://www.onvif.org/ver10/device/wsdl\" "
           "xmlns:tt=\"http://www.onvif.org/ver10/schema\" "
           "xmlns:ter=\"http://www.onvif.org/ver10/error\"><env:Body>" +
           std::string(body) + "</env:Body></env:Envelope>";
}

std::string SoapFault(std::string_view code, std::string_view subcode, std::string_view reason) {
    return SoapEnvelope("<env:Fault><env:Code>" + Element("env:Value", code) + "<env:Subcode>" +
                        Element("env:Value", subcode) +
                        "</env:Subcode></env:Code><env:Reason><env:Text xml:lang=\"en\">" +
                        Escaped(reason) + "</env:Text></env:Reason></env:Fault>");
}

std::optional<std::string> ReadingAnswer(std::string_view operation, const SimDevice& device,
                                         std::chrono::system_clock::time_point deviceNow) {
    std::string content;
    if (operation == "GetSystemDateAndTime") {
        content = SystemDateAndTime(deviceNow);
    } else if (operation == "GetServiceCapabilities") {
        content = ServiceCapabilities(device);
    } else if (operation == "GetDeviceInformation") {
        content = DeviceInformation(device);
    } else if (operation == "GetNetworkInterfaces") {
        content = NetworkInterfaces(device);
    } else if (operation == "GetNetworkDefaultGateway") {
        content = Element("tds:NetworkGateway",
                          device.gateway == Ipv4{}
                              ? std::string()
                              : Element("tt:IPv4Address", FormatIpv4(device.gateway)));
    } else if (operation == "GetDNS") {
        content = Dns(device);
    } else if (operation == "GetHostname") {
        content = Element("tds:HostnameInformation",
                          Element("tt:FromDHCP", "false") + Element("tt:Name", HostName(device)));
    } else if (operation == "GetNetworkProtocols") {
        content =
            Element("tds:NetworkProtocols", "<tt:Name>HTTP</tt:Name><tt:Enabled>true</tt:Enabled>" +
                                                Element("tt:Port", std::to_string(device.webPort)));
    } else if (operation == "GetScopes") {
        content = Scopes(device);
    } else {
        return std::nullopt;
    }
    const std::string name = "tds:" + std::string(operation) + "Response";
    return Element(name, content);
}

bool IsConfigurableScope(std::string_view scope) {
    return scope.starts_with("onvif://www.onvif.org/name/") ||
           scope.starts_with("onvif://www.onvif.org/location/");
}

std::string HostName(const SimDevice& device) {
    char text[16];
    std::snprintf(text, sizeof text, "sim-%02x%02x%02x", device.mac[3], device.mac[4],
                  device.mac[5]);
    return text;
}

} // namespace vanmoor::devsim
