#include "UsernameToken.h"
#include "UtcTimestamp.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>

namespace {

using namespace std::chrono;
using vanmoor::onvif::UsernameTokenHeader;

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
    const std::size_t start = text.find(open);
    if (start == std::string::npos) {
        return "(missing)";
    }
    const std::size_t from = start + open.size();
    return text.substr(from, text.find(close, from) - from);
}

// The digest was computed by hand with Python, apart from this code:
//   nonce = bytes(range(16)); created = '2026-12-10T07:00:00Z'; pw = 'Öffne-mich 1'
//   base64.b64encode(hashlib.sha1(nonce + created.encode() + pw.encode('utf-8')).digest())
//   -> 'bYNbhWVFJpgEC4p//ui/ejCiCMU='  (with the password as Latin-1 it would be
//   'w0ZxMLLpHLx95d6uLFIdvgOcln4=', the digest of a client that mangles it)
TEST(UsernameTokenTest, PasswordDigestOfAUtf8PasswordMatchesAnIndependentComputation) {
    std::array<std::uint8_t, 16> nonce{};
    for (std::size_t i = 0; i < nonce.size(); ++i) {
        nonce[i] = static_cast<std::uint8_t>(i);
    }
    const sys_seconds created = sys_days(year(2026) / 12 / 10) + 7h;
    const std::string header = UsernameTokenHeader({"admin", "\xc3\x96"
                                                             "ffne-mich 1"},
                                                   nonce, created);

    EXPECT_EQ(Between(header, "#PasswordDigest\">", "<"), "bYNbhWVFJpgEC4p//ui/ejCiCMU=");
    EXPECT_EQ(Between(header, "#Base64Binary\">", "<"), "AAECAwQFBgcICQoLDA0ODw==");
    EXPECT_EQ(Between(header, "<wsu:Created>", "<"), "2026-12-10T07:00:00Z");
    EXPECT_EQ(Between(header, "<wsse:Username>", "<"), "admin");
    EXPECT_NE(header.find("oasis-200401-wss-username-token-profile-1.0#PasswordDigest"),
              std::string::npos);
    EXPECT_EQ(header.find("PasswordText"), std::string::npos);
    EXPECT_EQ(header.find("ffne-mich"), std::string::npos); // the password never appears
}

TEST(UsernameTokenTest, UserNameIsEscapedAndEveryTokenHasAFreshNonce) {
    const sys_seconds created = floor<seconds>(system_clock::now());
    const auto one = vanmoor::onvif::FreshUsernameTokenHeader({"<a&\"b'>", "pw"}, created);
    const auto two = vanmoor::onvif::FreshUsernameTokenHeader({"<a&\"b'>", "pw"}, created);
    ASSERT_TRUE(one && two);
    EXPECT_EQ(Between(*one, "<wsse:Username>", "</wsse:Username>"), "&lt;a&amp;&quot;b&apos;&gt;");
    EXPECT_EQ(Between(*one, "#Base64Binary\">", "<").size(), 24u);
    EXPECT_NE(Between(*one, "#Base64Binary\">", "<"), Between(*two, "#Base64Binary\">", "<"));
    EXPECT_NE(Between(*one, "#PasswordDigest\">", "<"), Between(*two, "#PasswordDigest\">", "<"));
}

TEST(UsernameTokenTest, TimestampsAreUtcToTheSecond) {
    using vanmoor::onvif::UtcTimestamp;
    EXPECT_EQ(UtcTimestamp(sys_seconds{}), "1970-01-01T00:00:00Z");
    EXPECT_EQ(UtcTimestamp(sys_days(year(2000) / 2 / 29) + 23h + 59min + 59s),
              "2000-02-29T23:59:59Z");
    EXPECT_EQ(UtcTimestamp(sys_days(year(2038) / 1 / 19) + 3h + 14min + 8s),
              "2038-01-19T03:14:08Z");
}

} // namespace
