#include "DigestChallenge.h"
#include "DigestLogin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vanmoor::onvif::ChooseDigestChallenge;
using vanmoor::onvif::Credentials;
using vanmoor::onvif::DigestAuthorization;
using vanmoor::onvif::DigestChallenge;
using vanmoor::onvif::DigestLogin;
using vanmoor::onvif::HashAlgorithm;

// RFC 7616, section 3.9.1: the two challenges of one 401, and the client nonce of its answers.
const std::string kRfcSha256 =
    "Digest realm=\"http-auth@example.org\", qop=\"auth, auth-int\", algorithm=SHA-256, "
    "nonce=\"7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v\", "
    "opaque=\"FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS\"";
const std::string kRfcMd5 =
    "Digest realm=\"http-auth@example.org\", qop=\"auth, auth-int\", algorithm=MD5, "
    "nonce=\"7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v\", "
    "opaque=\"FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS\"";
const char* const kRfcCnonce = "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ";
const Credentials kMufasa{"Mufasa", "Circle of Life"};

std::string RfcAuthorization(const std::string& algorithm, const std::string& response) {
    return "Digest username=\"Mufasa\", realm=\"http-auth@example.org\", "
           "uri=\"/dir/index.html\", algorithm=" +
           algorithm +
           ", nonce=\"7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v\", nc=00000001, "
           "cnonce=\"f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ\", qop=auth, response=\"" +
           response + "\", opaque=\"FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS\"";
}

TEST(DigestTest, Rfc7616ExamplesGiveTheirResponsesAndSha256IsChosenFirst) {
    const auto challenge = ChooseDigestChallenge({kRfcMd5, kRfcSha256});
    ASSERT_TRUE(challenge);
    EXPECT_EQ(challenge->algorithm, HashAlgorithm::Sha256);
    EXPECT_EQ(DigestAuthorization(*challenge, kMufasa, {"GET", "/dir/index.html", kRfcCnonce, 1}),
              RfcAuthorization("SHA-256", "753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8"
                                          "db5856cb6c1"));

    const auto md5 = ChooseDigestChallenge({kRfcMd5});
    ASSERT_TRUE(md5);
    EXPECT_EQ(DigestAuthorization(*md5, kMufasa, {"GET", "/dir/index.html", kRfcCnonce, 1}),
              RfcAuthorization("MD5", "8ca523f5e9506fed4657c9700eebdbec"));
}

// Expected values computed with Python's hashlib:
//   h = lambda s: hashlib.md5(s.encode()).hexdigest()   (sha256 for the second)
//   h(h('Mufasa:testrealm@host.com:Circle Of Life') + ':dcd98b7102dd2f0e8b11d0f600bfb0c093:'
//     + h('GET:/dir/index.html'))
//   ha1 = h(h('Jäger:cams@site:Öffne-mich 1') + ':abc123:0a4f113b')
//   h(ha1 + ':abc123:00000002:0a4f113b:auth:' + h('POST:/onvif/device_service'))
TEST(DigestTest, FormWithoutQopAndSessVariantWithUtf8Credentials) {
    const auto legacy = ChooseDigestChallenge(
        {R"(Digest realm="testrealm@host.com", nonce="dcd98b7102dd2f0e8b11d0f600bfb0c093")"});
    ASSERT_TRUE(legacy);
    EXPECT_FALSE(legacy->qopAuth);
    EXPECT_EQ(DigestAuthorization(*legacy, {"Mufasa", "Circle Of Life"},
                                  {"GET", "/dir/index.html", "unused", 1}),
              "Digest username=\"Mufasa\", realm=\"testrealm@host.com\", uri=\"/dir/index.html\", "
              "algorithm=MD5, nonce=\"dcd98b7102dd2f0e8b11d0f600bfb0c093\", "
              "response=\"670fd8c2df070c60b045671b8b24ff02\"");

    const auto sess = ChooseDigestChallenge(
        {R"(Digest realm="cams@site", nonce="abc123", qop="auth", algorithm=sha-256-SESS)"});
    ASSERT_TRUE(sess);
    EXPECT_TRUE(sess->session);
    const std::string value = DigestAuthorization(*sess,
                                                  {"J\xc3\xa4ger", "\xc3\x96"
                                                                   "ffne-mich 1"},
                                                  {"POST", "/onvif/device_service", "0a4f113b", 2});
    EXPECT_NE(value.find("algorithm=SHA-256-sess"), std::string::npos) << value;
    EXPECT_NE(value.find("nc=00000002"), std::string::npos) << value;
    EXPECT_NE(value.find("response=\"ac41eeaf6afc3b8b0e837de17051a84cfb059bf44c8559b055bb5886650"
                         "cf853\""),
              std::string::npos)
        << value;
}

TEST(DigestTest, ChallengesAmongOthersInOneHeaderWithEscapesAndUnknownParameters) {
    const auto challenge = ChooseDigestChallenge(
        {R"(Basic realm="cams", Newauth realm="apps", type=1, title="Login to \"apps\"", )"
         R"(DIGEST realm="a\"b\\c", domain="/", nonce=n1, charset=UTF-8, qop="auth-int, auth")"});
    ASSERT_TRUE(challenge);
    EXPECT_EQ(challenge->realm, "a\"b\\c");
    EXPECT_EQ(challenge->nonce, "n1");
    EXPECT_TRUE(challenge->qopAuth);
    EXPECT_FALSE(challenge->opaque);
    // Echoed with its escapes again.
    EXPECT_NE(
        DigestAuthorization(*challenge, kMufasa, {"POST", "/", "c", 1}).find(R"(realm="a\"b\\c")"),
        std::string::npos);
}

TEST(DigestTest, UnusableChallengesAreNotChosen) {
    EXPECT_FALSE(ChooseDigestChallenge({}));
    EXPECT_FALSE(
        ChooseDigestChallenge({R"(Basic realm="cams")", "Basic YWxhZGRpbjpvcGVuc2VzYW1l"}));
    EXPECT_FALSE(ChooseDigestChallenge({R"(Digest realm="r", nonce="n", qop="auth-int")"}));
    EXPECT_FALSE(ChooseDigestChallenge({R"(Digest realm="r", nonce="n", algorithm=SHA-512-256)"}));
    EXPECT_FALSE(ChooseDigestChallenge({R"(Digest realm="r")"}));
    EXPECT_FALSE(ChooseDigestChallenge({R"(Digest nonce="n")"}));
    // A usable challenge after an unusable one in the same header still counts.
    EXPECT_TRUE(ChooseDigestChallenge(
        {R"(Digest realm="r", nonce="n", algorithm=SHA-512-256, Digest realm="r", nonce="m")"}));
}

TEST(DigestTest, HostileHeadersAreBoundedAndNeverBreakTheReading) {
    const std::string good = R"(Digest realm="r", nonce="n", qop="auth")";
    const char withNul[] = "Digest realm=\"r\0\", nonce=\"n\"";
    const std::vector<std::string> broken = {
        "Digest realm=\"open",
        "Digest realm=\"r\", nonce=\"n\\",
        "Digest realm=\"r\r\nX-Injected: 1\", nonce=\"n\"",
        std::string(withNul, sizeof(withNul) - 1),
        "Digest realm=\"r\" nonce=\"n\"",
        "Digest =, ,, \"\", realm",
        "Digest " + std::string(100000, '"'),
        std::string(9000, 'a'),
        "",
        ",,,,",
    };
    for (const std::string& header : broken) {
        EXPECT_FALSE(ChooseDigestChallenge({header})) << header.substr(0, 60);
        // Nor does it spoil a good header beside it.
        EXPECT_TRUE(ChooseDigestChallenge({header, good})) << header.substr(0, 60);
    }
    std::string many;
    for (int i = 0; i < 10000; ++i) {
        many += "Basic realm=\"x\", ";
    }
    EXPECT_FALSE(ChooseDigestChallenge({many + good}));
    EXPECT_FALSE(ChooseDigestChallenge(std::vector<std::string>(1000, "Basic realm=\"x\"")));
}

TEST(DigestTest, NonceCountCountsPerNonceAndEveryRequestHasItsOwnClientNonce) {
    DigestLogin login({"admin", "secret"});
    EXPECT_FALSE(login.Authorize("POST", "/onvif/device_service"));
    const auto first = ChooseDigestChallenge({R"(Digest realm="r", nonce="n1", qop="auth")"});
    login.Take(*first);
    const auto one = login.Authorize("POST", "/onvif/device_service");
    const auto two = login.Authorize("POST", "/onvif/device_service");
    ASSERT_TRUE(one && two);
    EXPECT_NE(one->find("nc=00000001"), std::string::npos);
    EXPECT_NE(two->find("nc=00000002"), std::string::npos);
    const auto cnonce = [](const std::string& value) {
        const std::size_t at = value.find("cnonce=\"") + 8;
        return value.substr(at, value.find('"', at) - at);
    };
    EXPECT_EQ(cnonce(*one).size(), 24u);
    EXPECT_NE(cnonce(*one), cnonce(*two));

    login.Take(*first); // the same nonce again: the count goes on
    EXPECT_NE(login.Authorize("POST", "/")->find("nc=00000003"), std::string::npos);
    login.Take(*ChooseDigestChallenge({R"(Digest realm="r", nonce="n2", qop="auth")"}));
    EXPECT_NE(login.Authorize("POST", "/")->find("nc=00000001"), std::string::npos);
}

TEST(DigestTest, UserNameThatNoHeaderCanCarryGivesNoAuthorization) {
    DigestLogin login({"admin\r\nX-Injected: 1", "secret"});
    login.Take(*ChooseDigestChallenge({R"(Digest realm="r", nonce="n", qop="auth")"}));
    EXPECT_FALSE(login.Authorize("POST", "/"));
}

} // namespace
