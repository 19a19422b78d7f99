#include "DeviceNamespaces.h"
#include "PlatformXmlReader.h"
#include "ServiceCapabilities.h"
#include "SoapAnswer.h"
#include "SoapEnvelope.h"
#include "SystemDateAndTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using namespace std::chrono;
using vanmoor::onvif::kErrorNamespace;
using vanmoor::wsd::ReadError;

const auto reader = vanmoor::wsd::MakeXmlReader();
constexpr std::size_t kMaxBytes = 65536;

std::string Envelope(const std::string& body) {
    return R"(<?xml version="1.0"?><env:Envelope xmlns:env="http://www.w3.org/2003/05/soap-envelope" )"
           R"(xmlns:tds="http://www.onvif.org/ver10/device/wsdl" )"
           R"(xmlns:tt="http://www.onvif.org/ver10/schema"><env:Body>)" +
           body + "</env:Body></env:Envelope>";
}

TEST(SoapReadingTest, RequestEnvelopeCarriesTheBodyAndTheHeaderWhenGiven) {
    using vanmoor::onvif::SoapEnvelope;
    const std::string body =
        R"(<tds:GetHostname xmlns:tds="http://www.onvif.org/ver10/device/wsdl"/>)";
    const std::string plain = SoapEnvelope(body);
    EXPECT_EQ(plain.find("Header"), std::string::npos);
    EXPECT_NE(plain.find("<s:Body>" + body + "</s:Body>"), std::string::npos);
    const auto read = vanmoor::onvif::ReadSoapAnswer(SoapEnvelope(body, "<h:X xmlns:h=\"urn:h\"/>"),
                                                     *reader, kMaxBytes);
    EXPECT_EQ(read.error, ReadError::None);
    EXPECT_FALSE(read.fault);
    EXPECT_EQ(vanmoor::onvif::SoapContentType("urn:a"),
              "application/soap+xml; charset=utf-8; action=\"urn:a\"");
}

TEST(SoapReadingTest, FaultCodesResolveWhateverThePrefix) {
    const auto answer = vanmoor::onvif::ReadSoapAnswer(
        Envelope(
            R"(<env:Fault><env:Code><env:Value>env:Sender</env:Value>)"
            R"(<env:Subcode><env:Value xmlns:e="http://www.onvif.org/ver10/error">e:NotAuthorized</env:Value>)"
            R"(<env:Subcode><env:Value xmlns:v="urn:vendor">v:BadPin</env:Value></env:Subcode>)"
            R"(</env:Subcode></env:Code><env:Reason><env:Text xml:lang="en"> Sender not authorized </env:Text>)"
            R"(<env:Text xml:lang="de">Nicht erlaubt</env:Text></env:Reason></env:Fault>)"),
        *reader, kMaxBytes);
    ASSERT_EQ(answer.error, ReadError::None);
    ASSERT_TRUE(answer.fault);
    EXPECT_TRUE(answer.fault->Has(kErrorNamespace, "NotAuthorized"));
    EXPECT_TRUE(answer.fault->Has("http://www.w3.org/2003/05/soap-envelope", "Sender"));
    EXPECT_EQ(answer.fault->innermostCode, "v:BadPin");
    EXPECT_EQ(answer.fault->reason, "Sender not authorized");

    // The same local name under another namespace, or an undeclared prefix, is not it.
    for (const std::string value :
         {R"(<env:Value xmlns:ter="urn:elsewhere">ter:NotAuthorized</env:Value>)",
          R"(<env:Value>ter:NotAuthorized</env:Value>)"}) {
        const auto other = vanmoor::onvif::ReadSoapAnswer(
            Envelope("<env:Fault><env:Code>" + value + "</env:Code></env:Fault>"), *reader,
            kMaxBytes);
        ASSERT_TRUE(other.fault) << value;
        EXPECT_FALSE(other.fault->Has(kErrorNamespace, "NotAuthorized")) << value;
        EXPECT_EQ(other.fault->innermostCode, "ter:NotAuthorized");
    }
}

TEST(SoapReadingTest, WhatIsNotASoap12EnvelopeIsTold) {
    using vanmoor::onvif::ReadSoapAnswer;
    EXPECT_EQ(ReadSoapAnswer("<html><body>Login</body></html>", *reader, kMaxBytes).error,
              ReadError::NotSoapEnvelope);
    EXPECT_EQ(ReadSoapAnswer(R"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/"/>)",
                             *reader, kMaxBytes)
                  .error,
              ReadError::NotSoapEnvelope);
    EXPECT_EQ(ReadSoapAnswer("not xml", *reader, kMaxBytes).error, ReadError::Malformed);
    EXPECT_EQ(ReadSoapAnswer(R"(<?xml version="1.0"?><!DOCTYPE e [<!ENTITY x "y">]><e>&x;</e>)",
                             *reader, kMaxBytes)
                  .error,
              ReadError::Doctype);
    EXPECT_EQ(ReadSoapAnswer(Envelope(std::string(100, ' ')), *reader, 100).error,
              ReadError::TooLarge);
    std::string deep;
    for (int i = 0; i < 100; ++i) {
        deep = "<a>" + deep + "</a>";
    }
    EXPECT_EQ(ReadSoapAnswer(Envelope(deep), *reader, kMaxBytes).error, ReadError::TooDeep);
}

std::string DateAndTime(const std::string& utc) {
    return Envelope("<tds:GetSystemDateAndTimeResponse><tds:SystemDateAndTime>"
                    "<tt:DateTimeType>Manual</tt:DateTimeType><tt:DaylightSavings>false"
                    "</tt:DaylightSavings><tt:TimeZone><tt:TZ>CET-1</tt:TZ></tt:TimeZone>" +
                    utc +
                    "<tt:LocalDateTime><tt:Time><tt:Hour>1</tt:Hour><tt:Minute>1</tt:Minute>"
                    "<tt:Second>1</tt:Second></tt:Time><tt:Date><tt:Year>1999</tt:Year>"
                    "<tt:Month>1</tt:Month><tt:Day>1</tt:Day></tt:Date></tt:LocalDateTime>"
                    "</tds:SystemDateAndTime></tds:GetSystemDateAndTimeResponse>");
}

std::string Utc(int year, int month, int day, int hour, int minute, int second) {
    const auto number = [](const char* name, int value) {
        return std::string("<tt:") + name + "> " + std::to_string(value) + " </tt:" + name + ">";
    };
    return "<tt:UTCDateTime><tt:Time>" + number("Hour", hour) + number("Minute", minute) +
           number("Second", second) + "</tt:Time><tt:Date>" + number("Year", year) +
           number("Month", month) + number("Day", day) + "</tt:Date></tt:UTCDateTime>";
}

TEST(SoapReadingTest, CameraUtcIsReadAndImpossibleDatesAreRefused) {
    using vanmoor::onvif::ReadCameraUtc;
    EXPECT_EQ(ReadCameraUtc(DateAndTime(Utc(2026, 12, 10, 8, 30, 5))),
              sys_days(year(2026) / 12 / 10) + 8h + 30min + 5s);
    EXPECT_EQ(ReadCameraUtc(DateAndTime(Utc(2016, 12, 31, 23, 59, 60))),
              sys_days(year(2016) / 12 / 31) + 23h + 59min + 59s);
    EXPECT_FALSE(ReadCameraUtc(DateAndTime(Utc(2026, 2, 30, 8, 0, 0))));
    EXPECT_FALSE(ReadCameraUtc(DateAndTime(Utc(2026, 257, 1, 8, 0, 0))));
    EXPECT_FALSE(ReadCameraUtc(DateAndTime(Utc(99999, 1, 1, 8, 0, 0))));
    EXPECT_FALSE(ReadCameraUtc(DateAndTime(Utc(2026, 1, 1, 24, 0, 0))));
    EXPECT_FALSE(ReadCameraUtc(DateAndTime(""))); // local time only
}

TEST(SoapReadingTest, ClockOffsetSetsTheCameraAgainstTheMiddleOfTheCall) {
    const sys_seconds camera = sys_days(year(2026) / 12 / 10) + 9h;
    const system_clock::time_point sent = camera - 1h - 300ms;
    EXPECT_EQ(vanmoor::onvif::ClockOffset(camera, sent, 400ms), 1h + 600ms);
    EXPECT_EQ(vanmoor::onvif::ClockOffset(camera, camera + 2s, 1s), -2000ms);
}

TEST(SoapReadingTest, LoginOfferFromTheSecurityCapabilities) {
    using vanmoor::onvif::ReadLoginOffer;
    const auto capabilities = [](const std::string& security) {
        return Envelope("<tds:GetServiceCapabilitiesResponse><tds:Capabilities>"
                        "<tds:Network IPFilter=\"true\" HttpDigest=\"true\"/>" +
                        security +
                        "<tds:System DiscoveryBye=\"true\"/></tds:Capabilities>"
                        "</tds:GetServiceCapabilitiesResponse>");
    };
    const auto onlyToken = ReadLoginOffer(
        capabilities(R"(<tds:Security TLS1.2="true" UsernameToken=" 1 " HttpDigest="false"/>)"));
    ASSERT_TRUE(onlyToken);
    EXPECT_EQ(onlyToken->usernameToken, true);
    EXPECT_EQ(onlyToken->httpDigest, false);
    EXPECT_TRUE(onlyToken->UsernameTokenOnly());

    const auto both =
        ReadLoginOffer(capabilities(R"(<tds:Security UsernameToken="true" HttpDigest="1"/>)"));
    ASSERT_TRUE(both);
    EXPECT_FALSE(both->UsernameTokenOnly());

    const auto odd = ReadLoginOffer(
        capabilities(R"(<tds:Security xmlns:x="urn:x" x:HttpDigest="true" UsernameToken="yes"/>)"));
    ASSERT_TRUE(odd);
    EXPECT_FALSE(odd->httpDigest);
    EXPECT_FALSE(odd->usernameToken);

    EXPECT_FALSE(ReadLoginOffer(capabilities("")));
    EXPECT_FALSE(ReadLoginOffer(Envelope(R"(<tds:Security UsernameToken="true"/>)")));
}

} // namespace
