#include "Base64.h"
#include "ClockOffsetText.h"
#include "RequestTarget.h"
#include "XmlText.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// RFC 4648, section 10.
TEST(EncodingTest, Base64OfTheRfcTestVectors) {
    using vanmoor::onvif::Base64;
    EXPECT_EQ(Base64(""), "");
    EXPECT_EQ(Base64("f"), "Zg==");
    EXPECT_EQ(Base64("fo"), "Zm8=");
    EXPECT_EQ(Base64("foo"), "Zm9v");
    EXPECT_EQ(Base64("foob"), "Zm9vYg==");
    EXPECT_EQ(Base64("fooba"), "Zm9vYmE=");
    EXPECT_EQ(Base64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Base64(std::string("\xff\xfe\x00", 3)), "//4A");
}

TEST(EncodingTest, XmlEscapingOfMarkupCharacters) {
    EXPECT_EQ(vanmoor::onvif::EscapeXml("a<b>&\"c'\xc3\xa4"),
              "a&lt;b&gt;&amp;&quot;c&apos;\xc3\xa4");
}

TEST(EncodingTest, RequestTargetIsThePathAndQueryAsSent) {
    using vanmoor::onvif::RequestTarget;
    EXPECT_EQ(RequestTarget("http://192.0.2.40/onvif/device_service"), "/onvif/device_service");
    EXPECT_EQ(RequestTarget("http://192.0.2.40:8080/onvif/device_service?x=1&y#part"),
              "/onvif/device_service?x=1&y");
    EXPECT_EQ(RequestTarget("https://[fe80::1]:443/a%20b"), "/a%20b");
    EXPECT_EQ(RequestTarget("http://192.0.2.40:8080"), "/");
    EXPECT_EQ(RequestTarget("http://192.0.2.40?q"), "/?q");
}

TEST(EncodingTest, ClockOffsetInWords) {
    using vanmoor::onvif::ClockOffsetText;
    EXPECT_EQ(ClockOffsetText(400ms), "the same as this computer's");
    EXPECT_EQ(ClockOffsetText(-12s), "12 s behind this computer's");
    EXPECT_EQ(ClockOffsetText(3603s), "1 h 0 min ahead of this computer's");
    EXPECT_EQ(ClockOffsetText(-(125s)), "2 min 5 s behind this computer's");
    EXPECT_EQ(ClockOffsetText(std::chrono::hours(24 * 365 * 6 + 5)),
              "2190 days 5 h ahead of this computer's");
}

} // namespace
