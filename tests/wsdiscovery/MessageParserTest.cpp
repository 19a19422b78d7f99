#include "Protocol.h"
#include "ScopeFields.h"
#include "WsdDatagrams.h"
#include "XAddrHost.h"

#include <gtest/gtest.h>

namespace vanmoor::wsd::test {
namespace {

const QualifiedName kDevice{"http://www.onvif.org/ver10/device/wsdl", "Device"};

// A camera's answer as devices send it: every optional field, several scopes and addresses.
const std::string kCameraAnswer =
    Envelope(ReplyHeader("uuid:5f0e7c1a-0001-4000-8000-00408c1b2c3d",
                         "urn:uuid:2b0c6b4e-8f6a-4c1e-9d2a-7a3f5e9b1c20", kProbeMatchesAction),
             R"(<wsdd:ProbeMatches><wsdd:ProbeMatch>
  <wsa:EndpointReference><wsa:Address>urn:uuid:00000000-0000-4000-8000-00408c1b2c3d</wsa:Address></wsa:EndpointReference>
  <wsdd:Types>tdn:NetworkVideoTransmitter tds:Device</wsdd:Types>
  <wsdd:Scopes>onvif://www.onvif.org/type/video_encoder onvif://www.onvif.org/name/Front%20Door onvif://www.onvif.org/hardware/IPC-B120 onvif://www.onvif.org/location/country/Norway onvif://www.onvif.org/Profile/Streaming</wsdd:Scopes>
  <wsdd:XAddrs>http://camera.example/onvif/device_service http://[fe80::1]/onvif/device_service http://192.0.2.10:8080/onvif/device_service</wsdd:XAddrs>
  <wsdd:MetadataVersion>10</wsdd:MetadataVersion>
</wsdd:ProbeMatch></wsdd:ProbeMatches>)");

void ExpectCameraAnswer(const ParseResult& result) {
    ASSERT_EQ(result.error, ReadError::None) << ReadErrorText(result.error);
    const Message& message = result.message;
    EXPECT_EQ(message.kind, MessageKind::ProbeMatches);
    EXPECT_EQ(message.messageId, "uuid:5f0e7c1a-0001-4000-8000-00408c1b2c3d");
    EXPECT_EQ(message.relatesTo, "urn:uuid:2b0c6b4e-8f6a-4c1e-9d2a-7a3f5e9b1c20");
    EXPECT_EQ(message.action, kProbeMatchesAction);
    ASSERT_EQ(message.targets.size(), 1u);
    const TargetService& camera = message.targets[0];
    EXPECT_EQ(camera.address, "urn:uuid:00000000-0000-4000-8000-00408c1b2c3d");
    EXPECT_EQ(camera.types, (std::vector<QualifiedName>{kNetworkVideoTransmitter, kDevice}));
    EXPECT_EQ(camera.scopes.size(), 5u);
    EXPECT_EQ(camera.scopes[4], "onvif://www.onvif.org/Profile/Streaming");
    EXPECT_EQ(camera.name, "Front Door");
    EXPECT_EQ(camera.hardware, "IPC-B120");
    EXPECT_EQ(camera.location, "country/Norway");
    ASSERT_EQ(camera.xaddrs.size(), 3u);
    EXPECT_EQ(camera.xaddrs[0], "http://camera.example/onvif/device_service");
    EXPECT_EQ(camera.ipv4, (settings::Ipv4Octets{192, 0, 2, 10}));
    EXPECT_EQ(camera.metadataVersion, 10u);
}

TEST(WsdMessageParserTest, ACameraAnswerGivesEveryField) {
    ExpectCameraAnswer(Parse(kCameraAnswer));
}

// Names count by namespace: other prefixes, default namespaces, declarations on inner
// elements and a type QName whose prefix is declared on the Types element itself.
TEST(WsdMessageParserTest, OtherPrefixesAndDefaultNamespacesReadTheSame) {
    const std::string answer = R"(<?xml version="1.0"?>
<env:Envelope xmlns:env="http://www.w3.org/2003/05/soap-envelope">
 <env:Header xmlns="http://schemas.xmlsoap.org/ws/2004/08/addressing">
  <MessageID>uuid:5f0e7c1a-0001-4000-8000-00408c1b2c3d</MessageID>
  <RelatesTo>urn:uuid:2b0c6b4e-8f6a-4c1e-9d2a-7a3f5e9b1c20</RelatesTo>
  <Action>http://schemas.xmlsoap.org/ws/2005/04/discovery/ProbeMatches</Action>
 </env:Header>
 <env:Body>
  <ProbeMatches xmlns="http://schemas.xmlsoap.org/ws/2005/04/discovery"
                xmlns:a="http://schemas.xmlsoap.org/ws/2004/08/addressing">
   <ProbeMatch>
    <a:EndpointReference><a:Address>urn:uuid:00000000-0000-4000-8000-00408c1b2c3d</a:Address>
     <a:ReferenceProperties/></a:EndpointReference>
    <Types xmlns:n="http://www.onvif.org/ver10/network/wsdl"
           xmlns:dev="http://www.onvif.org/ver10/device/wsdl">n:NetworkVideoTransmitter dev:Device</Types>
    <Scopes MatchBy="http://schemas.xmlsoap.org/ws/2005/04/discovery/rfc2396">onvif://www.onvif.org/type/video_encoder onvif://www.onvif.org/name/Front%20Door onvif://www.onvif.org/hardware/IPC-B120 onvif://www.onvif.org/location/country/Norway onvif://www.onvif.org/Profile/Streaming</Scopes>
    <XAddrs>http://camera.example/onvif/device_service http://[fe80::1]/onvif/device_service http://192.0.2.10:8080/onvif/device_service</XAddrs>
    <MetadataVersion>10</MetadataVersion>
   </ProbeMatch>
  </ProbeMatches>
 </env:Body>
</env:Envelope>)";
    ExpectCameraAnswer(Parse(answer));
}

TEST(WsdMessageParserTest, ElementsOfAnotherNamespaceAreNotTaken) {
    // The usual prefix bound to a foreign namespace: nothing of the body is a discovery message.
    const std::string foreignBody =
        R"(<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope">
<s:Body><wsdd:ProbeMatches xmlns:wsdd="urn:example:other"/></s:Body></s:Envelope>)";
    EXPECT_EQ(Parse(foreignBody).error, ReadError::NoDiscoveryBody);
    // An Address of another namespace inside the endpoint reference is not the address.
    const auto result =
        Parse(Envelope(ReplyHeader("uuid:1", "urn:uuid:2", kProbeMatchesAction),
                       R"(<wsdd:ProbeMatches><wsdd:ProbeMatch><wsa:EndpointReference>
<x:Address xmlns:x="urn:example:other">urn:wrong</x:Address></wsa:EndpointReference>
</wsdd:ProbeMatch></wsdd:ProbeMatches>)"));
    ASSERT_EQ(result.error, ReadError::None);
    ASSERT_EQ(result.message.targets.size(), 1u);
    EXPECT_EQ(result.message.targets[0].address, "");
}

TEST(WsdMessageParserTest, SeveralMatchesAreEachKeptWithTheirOwnFields) {
    const auto result = Parse(Envelope(
        ReplyHeader("uuid:1", "urn:uuid:2", kProbeMatchesAction),
        "<wsdd:ProbeMatches><wsdd:ProbeMatch>" + Match("urn:a", "http://192.0.2.1/") +
            "</wsdd:ProbeMatch><wsdd:ProbeMatch>" + Match("urn:b", "http://192.0.2.2/") +
            "</wsdd:ProbeMatch><wsdd:ProbeMatch>" + Match("urn:c", "http://198.51.100.3/") +
            "</wsdd:ProbeMatch></wsdd:ProbeMatches>"));
    ASSERT_EQ(result.error, ReadError::None);
    ASSERT_EQ(result.message.targets.size(), 3u);
    EXPECT_EQ(result.message.targets[1].address, "urn:b");
    EXPECT_EQ(result.message.targets[1].ipv4, (settings::Ipv4Octets{192, 0, 2, 2}));
    EXPECT_EQ(result.message.targets[2].address, "urn:c");
    EXPECT_EQ(result.message.targets[2].ipv4, (settings::Ipv4Octets{198, 51, 100, 3}));
}

TEST(WsdMessageParserTest, MissingOptionalFieldsStayEmpty) {
    const auto result = Parse(Envelope(
        "<wsa:Action>" + std::string(kProbeMatchesAction) + "</wsa:Action>",
        "<wsdd:ProbeMatches><wsdd:ProbeMatch><wsa:EndpointReference><wsa:Address>urn:only"
        "</wsa:Address></wsa:EndpointReference><wsdd:XAddrs>http://camera.example/</wsdd:XAddrs>"
        "<wsdd:MetadataVersion>not a number</wsdd:MetadataVersion>"
        "</wsdd:ProbeMatch></wsdd:ProbeMatches>"));
    ASSERT_EQ(result.error, ReadError::None);
    EXPECT_EQ(result.message.messageId, "");
    EXPECT_EQ(result.message.relatesTo, "");
    ASSERT_EQ(result.message.targets.size(), 1u);
    const TargetService& target = result.message.targets[0];
    EXPECT_EQ(target.address, "urn:only");
    EXPECT_TRUE(target.types.empty());
    EXPECT_TRUE(target.scopes.empty());
    EXPECT_EQ(target.name, "");
    EXPECT_EQ(target.xaddrs.size(), 1u);
    EXPECT_FALSE(target.ipv4);
    EXPECT_FALSE(target.metadataVersion);
}

TEST(WsdMessageParserTest, WhiteSpaceAroundAndBetweenListItemsIsNoItem) {
    const auto result = Parse(Envelope(
        "<wsa:MessageID>\n\t uuid:spaced \r\n</wsa:MessageID>",
        "<wsdd:Hello><wsa:EndpointReference><wsa:Address>  urn:hello\n</wsa:Address>"
        "</wsa:EndpointReference><wsdd:Types>\n  tdn:NetworkVideoTransmitter\t\t\n </wsdd:Types>"
        "<wsdd:Scopes>\n onvif://www.onvif.org/name/A \n\n\t onvif://www.onvif.org/location/B  "
        "</wsdd:Scopes><wsdd:XAddrs>   </wsdd:XAddrs>"
        "<wsdd:MetadataVersion> 7 </wsdd:MetadataVersion></wsdd:Hello>"));
    ASSERT_EQ(result.error, ReadError::None);
    EXPECT_EQ(result.message.kind, MessageKind::Hello);
    EXPECT_EQ(result.message.messageId, "uuid:spaced");
    ASSERT_EQ(result.message.targets.size(), 1u);
    const TargetService& target = result.message.targets[0];
    EXPECT_EQ(target.address, "urn:hello");
    EXPECT_EQ(target.types, std::vector<QualifiedName>{kNetworkVideoTransmitter});
    EXPECT_EQ(target.scopes, (std::vector<std::string>{"onvif://www.onvif.org/name/A",
                                                       "onvif://www.onvif.org/location/B"}));
    EXPECT_EQ(target.name, "A");
    EXPECT_EQ(target.location, "B");
    EXPECT_TRUE(target.xaddrs.empty());
    EXPECT_EQ(target.metadataVersion, 7u);
}

TEST(WsdMessageParserTest, AByeNamesItsEndpoint) {
    const auto result =
        Parse(Envelope("<wsa:MessageID>uuid:bye</wsa:MessageID><wsdd:AppSequence InstanceId=\"3\" "
                       "MessageNumber=\"9\"/>",
                       "<wsdd:Bye><wsa:EndpointReference><wsa:Address>urn:leaving</wsa:Address>"
                       "</wsa:EndpointReference></wsdd:Bye>"));
    ASSERT_EQ(result.error, ReadError::None);
    EXPECT_EQ(result.message.kind, MessageKind::Bye);
    ASSERT_EQ(result.message.targets.size(), 1u);
    EXPECT_EQ(result.message.targets[0].address, "urn:leaving");
}

TEST(WsdMessageParserTest, TypesWithAnUndeclaredPrefixAreLeftOut) {
    const auto result = Parse(
        Envelope("", "<wsdd:Hello><wsdd:Types>nope:Thing tdn:NetworkVideoTransmitter</wsdd:Types>"
                     "</wsdd:Hello>"));
    ASSERT_EQ(result.error, ReadError::None);
    EXPECT_EQ(result.message.targets[0].types,
              std::vector<QualifiedName>{kNetworkVideoTransmitter});
}

TEST(WsdScopeFieldsTest, CameraScopesArePercentDecodedAndTheFirstOfEachKindCounts) {
    const ScopeFields fields = ReadScopeFields({
        "onvif://www.onvif.org/type/NetworkVideoTransmitter",
        "ONVIF://WWW.ONVIF.ORG/name/Caf%C3%A9%20%2Fentrance",
        "onvif://www.onvif.org/name/second",
        "onvif://www.onvif.org/hardware/50%zz%4",
        "http://www.onvif.org/location/not-a-camera-scope",
        "onvif://www.onvif.org/location/",
        "onvif://www.onvif.org/location/hall%202",
    });
    EXPECT_EQ(fields.name, "Caf\xC3\xA9 /entrance");
    EXPECT_EQ(fields.hardware, "50%zz%4");
    EXPECT_EQ(fields.location, "hall 2");
}

TEST(WsdXAddrHostTest, TheHostIsFoundPastUserPortAndBrackets) {
    EXPECT_EQ(UrlHost("http://user:pw@192.0.2.7:80/path?x=1"), "192.0.2.7");
    EXPECT_EQ(UrlHost("http://[2001:db8::1]:8080/"), "2001:db8::1");
    EXPECT_EQ(UrlHost("https://cam.example#frag"), "cam.example");
    EXPECT_EQ(UrlHost("192.0.2.7/no-scheme"), "");
    EXPECT_EQ(FirstIpv4Host({"http://cam.example/", "http://192.0.2.300/", "http://[::1]/",
                             "http://192.0.2.8/", "http://192.0.2.9/"}),
              (settings::Ipv4Octets{192, 0, 2, 8}));
    EXPECT_FALSE(FirstIpv4Host({"http://cam.example/", "junk"}));
}

} // namespace
} // namespace vanmoor::wsd::test
