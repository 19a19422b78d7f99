// The platform's HTTP transport (libcurl here, WinHTTP in the Windows build) against a server
// that answers in scripted ways, inside the test network. On Linux the test starts the server
// in lan 1; under Wine, tests/windows/wine-network.sh starts it and names its address in
// VANMOOR_SCRIPTED_HTTP_HOST.
#include "HttpTransport.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#ifndef _WIN32
#include "ProgramInLan.h"
#include "TestNetwork.h"
#endif

namespace {

using namespace std::chrono_literals;
using vanmoor::onvif::HttpFailure;
using vanmoor::onvif::HttpLimits;
using vanmoor::onvif::HttpRequest;
using vanmoor::onvif::HttpResult;
using vanmoor::onvif::TransportOptions;

constexpr const char* kSoap = "application/soap+xml; charset=utf-8";

class HttpTransportTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef _WIN32
        const char* host = std::getenv("VANMOOR_SCRIPTED_HTTP_HOST");
        s_Host = host != nullptr ? host : "";
#else
        s_Server = std::make_unique<vanmoor::test::ProgramInLan>(
            1, VANMOOR_SCRIPTED_HTTP_SERVER,
            std::vector<std::string>{VANMOOR_TEST_CERTIFICATE, VANMOOR_TEST_KEY});
        if (s_Server->ReadLine(10s) == "ready") {
            s_Host = vanmoor::test::TestNetwork::Get().lanAddresses.at(0);
        }
#endif
    }
#ifndef _WIN32
    static void TearDownTestSuite() {
        s_Server.reset();
    }
#endif

    void SetUp() override {
        ASSERT_FALSE(s_Host.empty()) << "the scripted server is not running";
    }

    static std::string Url(const std::string& path, bool secure = false) {
        return (secure ? "https://" : "http://") + s_Host + (secure ? ":8443" : ":8080") + path;
    }

    static HttpResult Post(const std::string& url, const HttpLimits& limits = {},
                           const TransportOptions& options = {}) {
        HttpRequest request{url, kSoap, "<x/>", {}};
        return vanmoor::onvif::MakeHttpTransport(options)->Post(request, limits);
    }

    static HttpLimits Limits(std::chrono::milliseconds total) {
        HttpLimits limits;
        limits.total = total;
        return limits;
    }

    static inline std::string s_Host;
#ifndef _WIN32
    static inline std::unique_ptr<vanmoor::test::ProgramInLan> s_Server;
#endif
};

TEST_F(HttpTransportTest, PostsTheBodyWithTheGivenHeadersAndReadsTheAnswer) {
    // Large enough for a transport that would wait for a 100 Continue first.
    const std::string body = "<Envelope>" + std::string(2 * 1024 * 1024, 'b') + "</Envelope>";
    HttpRequest request{Url("/echo"), kSoap, body, {{"Authorization", "Digest username=\"ö\""}}};
    HttpLimits limits;
    limits.maxBodyBytes = 4 * 1024 * 1024;
    const HttpResult result = vanmoor::onvif::MakeHttpTransport({})->Post(request, limits);
    ASSERT_EQ(result.failure, HttpFailure::None) << result.detail;
    EXPECT_EQ(result.response.status, 200);
    EXPECT_EQ(result.response.contentType, kSoap);
    EXPECT_EQ(result.response.body, std::string("Content-Type: ") + kSoap +
                                        "\nAuthorization: Digest username=\"ö\"\n\n" + body);
}

TEST_F(HttpTransportTest, ReturnsEveryWwwAuthenticateHeaderOneByOne) {
    const HttpResult result = Post(Url("/challenge"));
    ASSERT_EQ(result.failure, HttpFailure::None) << result.detail;
    EXPECT_EQ(result.response.status, 401);
    EXPECT_EQ(result.response.wwwAuthenticate,
              (std::vector<std::string>{
                  "Digest realm=\"cam\", qop=\"auth\", algorithm=SHA-256, nonce=\"a1\"",
                  "Digest realm=\"cam\", qop=\"auth\", algorithm=MD5, nonce=\"b2\"",
                  "Basic realm=\"cam\""}));
    EXPECT_EQ(result.response.body, "refused");
}

TEST_F(HttpTransportTest, StopsAtTheSizeLimitOfALargeAndOfAnEndlessBody) {
    for (const char* path : {"/large", "/endless"}) {
        const HttpResult result = Post(Url(path));
        EXPECT_EQ(result.failure, HttpFailure::TooLarge) << path << ": " << result.detail;
        EXPECT_TRUE(result.response.body.empty()) << path;
    }
}

TEST_F(HttpTransportTest, EndsAtTheTotalLimitWhenTheServerIsSilentOrDrips) {
    // Both answers would end well, but only after 15 s.
    for (const char* path : {"/silent", "/drip"}) {
        const HttpResult result = Post(Url(path), Limits(1500ms));
        EXPECT_EQ(result.failure, HttpFailure::Timeout) << path << ": " << result.detail;
    }
}

TEST_F(HttpTransportTest, GivesUpConnectingAtTheConnectLimit) {
    // No host has .99 in lan 1: the connection waits for an ARP answer that never comes, until
    // the system gives up after about 3 s.
    const std::string silentHost = s_Host.substr(0, s_Host.rfind('.')) + ".99";
    HttpLimits limits = Limits(5s);
    limits.connect = 500ms;
    const HttpResult result = Post("http://" + silentHost + ":8080/echo", limits);
    EXPECT_EQ(result.failure, HttpFailure::Timeout) << result.detail;
}

TEST_F(HttpTransportTest, ReturnsARedirectWithoutFollowingIt) {
    const HttpResult result = Post(Url("/redirect"));
    ASSERT_EQ(result.failure, HttpFailure::None) << result.detail;
    EXPECT_EQ(result.response.status, 302);
    EXPECT_EQ(Post(Url("/target-hits")).response.body, "0");
}

TEST_F(HttpTransportTest, ReportsACutAnswerARefusedConnectionAndAnFtpUrl) {
    const HttpResult cut = Post(Url("/cut"));
    EXPECT_EQ(cut.failure, HttpFailure::Broken) << cut.detail;
    // Nothing listens on port 9 of the server's address.
    const HttpResult refused = Post("http://" + s_Host + ":9/onvif/device_service");
    EXPECT_EQ(refused.failure, HttpFailure::Connect) << refused.detail;
    EXPECT_FALSE(refused.detail.empty());
    const HttpResult ftp = Post("ftp://" + s_Host + ":8080/echo");
    EXPECT_EQ(ftp.failure, HttpFailure::BadUrl) << ftp.detail;
}

TEST_F(HttpTransportTest, IgnoresTheProxyOfTheEnvironment) {
    const std::string proxy = "http://" + s_Host + ":3128";
    const char* names[] = {"http_proxy",  "HTTP_PROXY", "https_proxy",
                           "HTTPS_PROXY", "all_proxy",  "ALL_PROXY"};
    for (const char* name : names) {
        vanmoor::test::SetVariable(name, proxy);
    }
    vanmoor::test::SetVariable("no_proxy", "");
    vanmoor::test::SetVariable("NO_PROXY", "");
    const HttpResult result = Post(Url("/echo"));
    for (const char* name : names) {
        vanmoor::test::SetVariable(name, "");
    }
    ASSERT_EQ(result.failure, HttpFailure::None) << result.detail;
    EXPECT_NE(result.response.body, "proxied");
    EXPECT_TRUE(result.response.body.ends_with("<x/>"));
}

TEST_F(HttpTransportTest, RefusesASelfSignedCertificateUnlessTold) {
    const HttpResult refused = Post(Url("/echo", true));
    EXPECT_EQ(refused.failure, HttpFailure::Certificate) << refused.detail;
    TransportOptions accepting;
    accepting.acceptUntrustedCertificate = true;
    const HttpResult accepted = Post(Url("/echo", true), {}, accepting);
    ASSERT_EQ(accepted.failure, HttpFailure::None) << accepted.detail;
    EXPECT_EQ(accepted.response.status, 200);
    EXPECT_TRUE(accepted.response.body.ends_with("<x/>"));
}

} // namespace
