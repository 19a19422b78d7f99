// Datagrams that anyone on the LAN can send: each is refused for its own reason, or read
// within the bounds, never trusted.
#include "Protocol.h"
#include "WsdDatagrams.h"

#include <gtest/gtest.h>

namespace vanmoor::wsd::test {
namespace {

const std::string kAnswer =
    ProbeMatches("uuid:1", "urn:uuid:2", "urn:camera", "http://192.0.2.10/onvif/device_service");

TEST(WsdHostileInputTest, EveryCutOfADatagramIsMalformed) {
    ASSERT_EQ(Parse(kAnswer).error, ReadError::None);
    for (std::size_t size = 0; size < kAnswer.size(); ++size) {
        EXPECT_EQ(Parse(std::string_view(kAnswer).substr(0, size)).error, ReadError::Malformed)
            << "cut at " << size;
    }
    // A second root would be read as more of the message.
    EXPECT_EQ(Parse(kAnswer + kAnswer).error, ReadError::Malformed);
}

TEST(WsdHostileInputTest, ADatagramPastTheBoundIsRefusedAndOneAtItIsRead) {
    // SOAP-over-UDP's bound, written out rather than read from Limits, so that a changed bound
    // shows here.
    constexpr std::size_t kSoapOverUdpBound = 32767;
    std::string atBound = kAnswer + std::string(kSoapOverUdpBound - kAnswer.size(), ' ');
    EXPECT_EQ(Parse(atBound).error, ReadError::None);
    EXPECT_EQ(Parse(atBound + " ").error, ReadError::TooLarge);
}

TEST(WsdHostileInputTest, ADocumentTypeIsRefusedSoNoEntityIsExpanded) {
    const std::string laughs = R"(<?xml version="1.0"?>
<!DOCTYPE lolz [<!ENTITY lol "lol"><!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">
<!ENTITY lol3 "&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;">]>)";
    const std::string body = "<wsdd:Hello><wsa:EndpointReference><wsa:Address>&lol3;"
                             "</wsa:Address></wsa:EndpointReference></wsdd:Hello>";
    const std::string envelope = Envelope("", body);
    const std::string withoutDeclaration = envelope.substr(envelope.find("?>") + 2);
    EXPECT_EQ(Parse(laughs + withoutDeclaration).error, ReadError::Doctype);
    const std::string external = R"(<!DOCTYPE e [<!ENTITY lol3 SYSTEM "file:///etc/passwd">]>)";
    EXPECT_EQ(Parse(external + withoutDeclaration).error, ReadError::Doctype);
    EXPECT_EQ(Parse("<!DOCTYPE x>" + withoutDeclaration).error, ReadError::Doctype);
}

TEST(WsdHostileInputTest, NestingPastTheDepthBoundIsRefused) {
    const auto nested = [](int depth) {
        std::string open;
        std::string close;
        for (int level = 0; level < depth; ++level) {
            open += "<x>";
            close = "</x>" + close;
        }
        return Envelope("", "<wsdd:Hello>" + open + close + "</wsdd:Hello>");
    };
    // Envelope, Body and Hello take three levels.
    const Limits limits;
    EXPECT_EQ(Parse(nested(limits.maxDepth - 3)).error, ReadError::None);
    EXPECT_EQ(Parse(nested(limits.maxDepth - 2)).error, ReadError::TooDeep);
    EXPECT_EQ(Parse(nested(4000)).error, ReadError::TooDeep);
}

TEST(WsdHostileInputTest, AnUndeclaredElementPrefixIsRefused) {
    EXPECT_EQ(Parse(Envelope("", "<nope:Hello/>")).error, ReadError::UnboundPrefix);
}

TEST(WsdHostileInputTest, OnlyASoapEnvelopeWithADiscoveryBodyIsAMessage) {
    EXPECT_EQ(Parse("<Envelope><Body/></Envelope>").error, ReadError::NotSoapEnvelope);
    EXPECT_EQ(Parse("\xEF\xBB\xBF<a/>").error, ReadError::NotSoapEnvelope);
    EXPECT_EQ(Parse(Envelope("", "<wsdd:Resolve/>")).error, ReadError::NoDiscoveryBody);
    EXPECT_EQ(Parse(Envelope("", "")).error, ReadError::NoDiscoveryBody);
}

TEST(WsdHostileInputTest, LongTextsAreCutAtACharacterBoundary) {
    std::string longName;
    for (int i = 0; i < 3000; ++i) {
        longName += "\xC3\xA9"; // two bytes each
    }
    const auto result =
        Parse(ProbeMatches("uuid:1", "urn:uuid:2", "a" + longName, "http://192.0.2.1/" + longName));
    ASSERT_EQ(result.error, ReadError::None);
    const TargetService& target = result.message.targets.at(0);
    EXPECT_EQ(target.address.size(), Limits{}.maxTextBytes - 1);
    EXPECT_EQ(target.address.substr(target.address.size() - 2), "\xC3\xA9");
    EXPECT_LE(target.xaddrs.at(0).size(), Limits{}.maxTextBytes);
    EXPECT_EQ(target.ipv4, (settings::Ipv4Octets{192, 0, 2, 1}));
}

TEST(WsdHostileInputTest, MatchesAndListItemsPastTheirBoundsAreDropped) {
    const Limits limits;
    std::string matches;
    for (std::size_t i = 0; i < limits.maxTargets + 8; ++i) {
        matches += "<wsdd:ProbeMatch>" + Match("urn:" + std::to_string(i), "http://192.0.2.1/") +
                   "</wsdd:ProbeMatch>";
    }
    std::string scopes;
    for (std::size_t i = 0; i < limits.maxListItems + 50; ++i) {
        scopes += " onvif://www.onvif.org/x/" + std::to_string(i);
    }
    const auto result =
        Parse(Envelope("", "<wsdd:ProbeMatches>" + matches + "<wsdd:ProbeMatch><wsdd:Scopes>" +
                               scopes + "</wsdd:Scopes></wsdd:ProbeMatch></wsdd:ProbeMatches>"));
    ASSERT_EQ(result.error, ReadError::None);
    EXPECT_EQ(result.message.targets.size(), limits.maxTargets);
    EXPECT_EQ(result.message.targetsDropped, 9u);
    EXPECT_EQ(result.message.targets.back().address,
              "urn:" + std::to_string(limits.maxTargets - 1));

    const auto hello =
        Parse(Envelope("", "<wsdd:Hello><wsdd:Scopes>" + scopes + "</wsdd:Scopes></wsdd:Hello>"));
    ASSERT_EQ(hello.error, ReadError::None);
    EXPECT_EQ(hello.message.targets.at(0).scopes.size(), limits.maxListItems);
}

} // namespace
} // namespace vanmoor::wsd::test
