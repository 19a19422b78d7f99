#include "CameraAnswers.h"

namespace vanmoor::onvif::test {

std::string Envelope(std::string_view body) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://www.w3.org/2003/05/soap-envelope" )"
           R"(xmlns:tds="http://www.onvif.org/ver10/device/wsdl" )"
           R"(xmlns:tt="http://www.onvif.org/ver10/schema"><SOAP-ENV:Header/><SOAP-ENV:Body>)" +
           std::string(body) + "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string DeviceInformationAnswer() {
    return Envelope("<tds:GetDeviceInformationResponse><tds:Manufacturer>Acme</tds:Manufacturer>"
                    "<tds:Model>Cam 2</tds:Model><tds:FirmwareVersion>1.4.2</tds:FirmwareVersion>"
                    "<tds:SerialNumber>SN-0042</tds:SerialNumber>"
                    "<tds:HardwareId>HW 7</tds:HardwareId></tds:GetDeviceInformationResponse>");
}

std::string NetworkInterfacesAnswer() {
    return Envelope(R"(<tds:GetNetworkInterfacesResponse>
  <tds:NetworkInterfaces token="eth0">
    <tt:Enabled>true</tt:Enabled>
    <tt:Info><tt:Name>eth0</tt:Name><tt:HwAddress>00:11:22:33:44:55</tt:HwAddress>
      <tt:MTU>1500</tt:MTU></tt:Info>
    <tt:Link><tt:AdminSettings><tt:AutoNegotiation>true</tt:AutoNegotiation><tt:Speed>100</tt:Speed>
      <tt:Duplex>Full</tt:Duplex></tt:AdminSettings></tt:Link>
    <tt:IPv4><tt:Enabled>true</tt:Enabled><tt:Config>
      <tt:Manual><tt:Address>192.0.2.10</tt:Address><tt:PrefixLength>24</tt:PrefixLength></tt:Manual>
      <tt:LinkLocal><tt:Address>169.254.3.4</tt:Address><tt:PrefixLength>16</tt:PrefixLength></tt:LinkLocal>
      <tt:DHCP>false</tt:DHCP>
    </tt:Config></tt:IPv4>
  </tds:NetworkInterfaces>
</tds:GetNetworkInterfacesResponse>)");
}

std::string DefaultGatewayAnswer() {
    return Envelope("<tds:GetNetworkDefaultGatewayResponse><tds:NetworkGateway>"
                    "<tt:IPv4Address>192.0.2.1</tt:IPv4Address>"
                    "</tds:NetworkGateway></tds:GetNetworkDefaultGatewayResponse>");
}

std::string DnsAnswer() {
    return Envelope(R"(<tds:GetDNSResponse><tds:DNSInformation>
  <tt:FromDHCP>false</tt:FromDHCP><tt:SearchDomain>site.example</tt:SearchDomain>
  <tt:DNSManual><tt:Type>IPv4</tt:Type><tt:IPv4Address>192.0.2.53</tt:IPv4Address></tt:DNSManual>
  <tt:DNSManual><tt:Type>IPv6</tt:Type><tt:IPv6Address>2001:db8::53</tt:IPv6Address></tt:DNSManual>
  <tt:DNSManual><tt:Type>IPv4</tt:Type><tt:IPv4Address>192.0.2.54</tt:IPv4Address></tt:DNSManual>
</tds:DNSInformation></tds:GetDNSResponse>)");
}

std::string HostnameAnswer() {
    return Envelope("<tds:GetHostnameResponse><tds:HostnameInformation><tt:FromDHCP>false"
                    "</tt:FromDHCP><tt:Name>cam-42</tt:Name></tds:HostnameInformation>"
                    "</tds:GetHostnameResponse>");
}

std::string NetworkProtocolsAnswer() {
    return Envelope(R"(<tds:GetNetworkProtocolsResponse>
  <tds:NetworkProtocols><tt:Name>HTTPS</tt:Name><tt:Enabled>false</tt:Enabled><tt:Port>443</tt:Port></tds:NetworkProtocols>
  <tds:NetworkProtocols><tt:Name>HTTP</tt:Name><tt:Enabled>true</tt:Enabled><tt:Port>80</tt:Port><tt:Port>8080</tt:Port></tds:NetworkProtocols>
  <tds:NetworkProtocols><tt:Name>RTSP</tt:Name><tt:Enabled>true</tt:Enabled><tt:Port>554</tt:Port></tds:NetworkProtocols>
</tds:GetNetworkProtocolsResponse>)");
}

std::string ScopesAnswer() {
    const auto scope = [](std::string_view definition, std::string_view item) {
        return "<tds:Scopes><tt:ScopeDef>" + std::string(definition) +
               "</tt:ScopeDef><tt:ScopeItem>" + std::string(item) + "</tt:ScopeItem></tds:Scopes>";
    };
    return Envelope("<tds:GetScopesResponse>" +
                    scope("Fixed", "onvif://www.onvif.org/type/video_encoder") +
                    scope("Fixed", "onvif://www.onvif.org/hardware/Cam2") +
                    scope("Configurable", "onvif://www.onvif.org/location/city/Oslo") +
                    scope("Configurable", "onvif://www.onvif.org/name/Car%20park") +
                    scope("Configurable", "onvif://www.onvif.org/Profile/Streaming?a=1&amp;b=2") +
                    "</tds:GetScopesResponse>");
}

std::string EmptyAnswer(std::string_view responseName) {
    return Envelope("<tds:" + std::string(responseName) + "/>");
}

std::string RebootNeededAnswer(bool rebootNeeded) {
    return Envelope(std::string("<tds:SetNetworkInterfacesResponse><tds:RebootNeeded>") +
                    (rebootNeeded ? "true" : "false") +
                    "</tds:RebootNeeded></tds:SetNetworkInterfacesResponse>");
}

} // namespace vanmoor::onvif::test
