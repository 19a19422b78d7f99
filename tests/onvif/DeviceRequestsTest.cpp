// The requests as the device service's WSDL and schema define them: the request element and
// its own children in the device namespace, what lies inside schema types in the schema
// namespace, texts escaped.
#include "DeviceRequests.h"
#include "NameScope.h"
#include "PlatformXmlReader.h"

#include <gtest/gtest.h>

namespace vanmoor::onvif::test {
namespace {

using settings::ParseDottedAddress;

// Every element of a document as "{namespace}local" with its text, in document order.
class ElementList final : public wsd::XmlHandler {
public:
    std::vector<std::string> elements;
    void StartElement(wsd::XmlName name, const wsd::NamespaceStack&) override {
        elements.push_back((name.namespaceUri == kDeviceNamespace   ? "tds:"
                            : name.namespaceUri == kSchemaNamespace ? "tt:"
                                                                    : "?:") +
                           std::string(name.localName));
    }
    void Text(std::string_view text) override { elements.back() += "=" + std::string(text); }
    void EndElement(const wsd::NamespaceStack&) override {}
};

std::vector<std::string> Elements(const DeviceRequest& request) {
    ElementList list;
    EXPECT_EQ(wsd::MakeXmlReader()->Read(request.body, 1 << 20, 32, list), wsd::ReadError::None)
        << request.body;
    return list.elements;
}

TEST(DeviceRequestsTest, ReadingRequestsAreEmptyElementsWithTheirActions) {
    const DeviceRequest request = GetNetworkInterfacesRequest();
    EXPECT_EQ(request.action, "http://www.onvif.org/ver10/device/wsdl/GetNetworkInterfaces");
    EXPECT_EQ(request.body, "<tds:GetNetworkInterfaces "
                            "xmlns:tds=\"http://www.onvif.org/ver10/device/wsdl\"/>");
    for (const DeviceRequest& each :
         {GetDeviceInformationRequest(), GetNetworkDefaultGatewayRequest(), GetDnsRequest(),
          GetHostnameRequest(), GetNetworkProtocolsRequest(), GetScopesRequest(),
          SystemRebootRequest()}) {
        const std::vector<std::string> elements = Elements(each);
        ASSERT_EQ(elements.size(), 1u);
        EXPECT_EQ("http://www.onvif.org/ver10/device/wsdl/" + elements[0].substr(4), each.action);
    }
}

TEST(DeviceRequestsTest, SetNetworkInterfacesCarriesAManualAddressOrDhcp) {
    const DeviceRequest manual =
        SetNetworkInterfacesRequest("eth<0>", false, *ParseDottedAddress("192.0.2.20"), 24);
    EXPECT_EQ(manual.action, "http://www.onvif.org/ver10/device/wsdl/SetNetworkInterfaces");
    EXPECT_EQ(
        Elements(manual),
        (std::vector<std::string>{"tds:SetNetworkInterfaces", "tds:InterfaceToken=eth<0>",
                                  "tds:NetworkInterface", "tt:IPv4", "tt:Enabled=true", "tt:Manual",
                                  "tt:Address=192.0.2.20", "tt:PrefixLength=24", "tt:DHCP=false"}));
    EXPECT_EQ(Elements(SetNetworkInterfacesRequest("eth0", true, {}, 0)),
              (std::vector<std::string>{"tds:SetNetworkInterfaces", "tds:InterfaceToken=eth0",
                                        "tds:NetworkInterface", "tt:IPv4", "tt:Enabled=true",
                                        "tt:DHCP=true"}));
}

TEST(DeviceRequestsTest, GatewayDnsAndProtocols) {
    EXPECT_EQ(
        Elements(SetNetworkDefaultGatewayRequest(*ParseDottedAddress("192.0.2.1"))),
        (std::vector<std::string>{"tds:SetNetworkDefaultGateway", "tds:IPv4Address=192.0.2.1"}));
    EXPECT_EQ(Elements(SetDnsRequest({"a&b.example"}, {*ParseDottedAddress("192.0.2.53"),
                                                       *ParseDottedAddress("192.0.2.54")})),
              (std::vector<std::string>{
                  "tds:SetDNS", "tds:FromDHCP=false", "tds:SearchDomain=a&b.example",
                  "tds:DNSManual", "tt:Type=IPv4", "tt:IPv4Address=192.0.2.53", "tds:DNSManual",
                  "tt:Type=IPv4", "tt:IPv4Address=192.0.2.54"}));
    EXPECT_EQ(
        Elements(SetNetworkProtocolsRequest({false, {8080, 8081}})),
        (std::vector<std::string>{"tds:SetNetworkProtocols", "tds:NetworkProtocols", "tt:Name=HTTP",
                                  "tt:Enabled=false", "tt:Port=8080", "tt:Port=8081"}));
}

TEST(DeviceRequestsTest, TheNameScopeIsReplacedOrAddedAndTheOthersKept) {
    EXPECT_EQ(NameScope("Tür 1/b&c"), "onvif://www.onvif.org/name/T%C3%BCr%201%2Fb%26c");
    const std::vector<std::string> scopes = {"onvif://www.onvif.org/location/x",
                                             "ONVIF://www.onvif.org/name/Old", "urn:a?b&c"};
    EXPECT_EQ(ScopesWithName(scopes, "New"),
              (std::vector<std::string>{"onvif://www.onvif.org/location/x",
                                        "onvif://www.onvif.org/name/New", "urn:a?b&c"}));
    EXPECT_EQ(ScopesWithName({"urn:a"}, "N"),
              (std::vector<std::string>{"urn:a", "onvif://www.onvif.org/name/N"}));
    EXPECT_EQ(Elements(SetScopesRequest(ScopesWithName(scopes, "New"))),
              (std::vector<std::string>{
                  "tds:SetScopes", "tds:Scopes=onvif://www.onvif.org/location/x",
                  "tds:Scopes=onvif://www.onvif.org/name/New", "tds:Scopes=urn:a?b&c"}));
}

} // namespace
} // namespace vanmoor::onvif::test
