#include "DeviceSession.h"
#include "ScriptedTransport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace std::chrono;
using vanmoor::onvif::CallOutcome;
using vanmoor::onvif::DeviceSession;
using vanmoor::onvif::HttpFailure;
using vanmoor::onvif::HttpRequest;
using vanmoor::onvif::test::CameraEnvelope;
using vanmoor::onvif::test::CameraFault;
using vanmoor::onvif::test::HeaderOf;
using vanmoor::onvif::test::ScriptedTransport;

const std::string kUrl = "http://192.0.2.40:8080/onvif/device_service";
const std::string kAction = "http://www.onvif.org/ver10/device/wsdl/GetNetworkInterfaces";
const std::string kRequest =
    R"(<tds:GetNetworkInterfaces xmlns:tds="http://www.onvif.org/ver10/device/wsdl"/>)";
const std::string kAnswer = CameraEnvelope("<tds:GetNetworkInterfacesResponse/>");
const std::string kPassword = "\xc3\x96"
                              "ffne-mich 1";
const std::string kMd5Challenge = R"(Digest realm="cam", qop="auth", nonce="n1", opaque="o")";
const std::string kSha256Challenge =
    R"(Digest realm="cam", qop="auth", algorithm=SHA-256, nonce="n1", opaque="o")";

std::string Capabilities(bool digest, bool token) {
    return CameraEnvelope(std::string("<tds:GetServiceCapabilitiesResponse><tds:Capabilities>"
                                      "<tds:Network/><tds:Security HttpDigest=\"") +
                          (digest ? "true" : "false") + "\" UsernameToken=\"" +
                          (token ? "true" : "false") +
                          "\"/><tds:System/></tds:Capabilities>"
                          "</tds:GetServiceCapabilitiesResponse>");
}

std::string DateAndTime(system_clock::time_point now) {
    const sys_days day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss clock(floor<seconds>(now - day));
    const auto number = [](const char* name, long value) {
        return std::string("<tt:") + name + ">" + std::to_string(value) + "</tt:" + name + ">";
    };
    return CameraEnvelope(
        "<tds:GetSystemDateAndTimeResponse><tds:SystemDateAndTime><tt:UTCDateTime><tt:Time>" +
        number("Hour", clock.hours().count()) + number("Minute", clock.minutes().count()) +
        number("Second", clock.seconds().count()) + "</tt:Time><tt:Date>" +
        number("Year", static_cast<int>(date.year())) +
        number("Month", static_cast<unsigned>(date.month())) +
        number("Day", static_cast<unsigned>(date.day())) +
        "</tt:Date></tt:UTCDateTime></tds:SystemDateAndTime></tds:GetSystemDateAndTimeResponse>");
}

bool HasToken(const HttpRequest& request) {
    return request.body.find("<wsse:Security") != std::string::npos;
}

// How far the Created of the request's token is from this computer's clock now.
std::optional<seconds> CreatedFromNow(const HttpRequest& request) {
    const std::size_t at = request.body.find("<wsu:Created>");
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (at == std::string::npos || std::sscanf(request.body.c_str() + at + 13, "%d-%d-%dT%d:%d:%dZ",
                                               &y, &mo, &d, &h, &mi, &s) != 6) {
        return std::nullopt;
    }
    const sys_seconds created = sys_days(year(y) / mo / d) + hours(h) + minutes(mi) + seconds(s);
    return created - floor<seconds>(system_clock::now());
}

bool Near(std::optional<seconds> value, seconds expected) {
    return value && *value > expected - 10s && *value < expected + 10s;
}

TEST(DeviceSessionTest, DigestOnlyCameraGetsTheStrongestDigestOverThePathAsSent) {
    ScriptedTransport camera;
    camera.ThenAnswer(200, Capabilities(true, false))
        .ThenAnswer(401, "", {kMd5Challenge, kSha256Challenge})
        .ThenAnswer(200, kAnswer)
        .ThenAnswer(200, kAnswer);
    DeviceSession session(camera, kUrl + "?profile=1", {"admin", kPassword});

    const auto result = session.Call(kAction, kRequest, true);
    ASSERT_EQ(result.outcome, CallOutcome::Answered) << result.detail;
    EXPECT_EQ(result.body, kAnswer);
    ASSERT_EQ(camera.Posted().size(), 3u);
    EXPECT_EQ(HeaderOf(camera.Posted()[1], "Authorization"), "(none)");
    const std::string authorization = HeaderOf(camera.Posted()[2], "Authorization");
    EXPECT_EQ(authorization.rfind("Digest username=\"admin\", realm=\"cam\", "
                                  "uri=\"/onvif/device_service?profile=1\", algorithm=SHA-256, "
                                  "nonce=\"n1\", nc=00000001, cnonce=\"",
                                  0),
              0u)
        << authorization;
    EXPECT_NE(authorization.find("qop=auth, response=\""), std::string::npos);
    EXPECT_NE(authorization.find("opaque=\"o\""), std::string::npos);
    EXPECT_EQ(camera.Posted()[2].contentType.rfind("application/soap+xml; charset=utf-8", 0), 0u);
    EXPECT_EQ(camera.Posted()[2].url, kUrl + "?profile=1");

    // The scheme is remembered: the next call carries Digest at once, counting on.
    ASSERT_EQ(session.Call(kAction, kRequest, true).outcome, CallOutcome::Answered);
    ASSERT_EQ(camera.Posted().size(), 4u);
    EXPECT_NE(HeaderOf(camera.Posted()[3], "Authorization").find("nc=00000002"), std::string::npos);
    for (const HttpRequest& posted : camera.Posted()) {
        EXPECT_FALSE(HasToken(posted)); // never both
        EXPECT_EQ(posted.body.find("ffne-mich"), std::string::npos);
    }
}

TEST(DeviceSessionTest, UsernameTokenOnlyCameraGetsATokenAfterItsClockWasRead) {
    ScriptedTransport camera;
    camera.ThenAnswer(200, Capabilities(false, true))
        .ThenAnswer(200, DateAndTime(system_clock::now()))
        .ThenAnswer(200, kAnswer)
        .ThenAnswer(200, kAnswer);
    DeviceSession session(camera, kUrl, {"admin", kPassword});

    const auto result = session.Call(kAction, kRequest, true);
    ASSERT_EQ(result.outcome, CallOutcome::Answered) << result.detail;
    ASSERT_EQ(camera.Posted().size(), 3u);
    EXPECT_NE(camera.Posted()[1].body.find("GetSystemDateAndTime"), std::string::npos);
    EXPECT_FALSE(HasToken(camera.Posted()[1]));
    EXPECT_TRUE(HasToken(camera.Posted()[2]));
    EXPECT_TRUE(Near(CreatedFromNow(camera.Posted()[2]), 0s));

    ASSERT_EQ(session.Call(kAction, kRequest, true).outcome, CallOutcome::Answered);
    ASSERT_EQ(camera.Posted().size(), 4u);
    EXPECT_TRUE(HasToken(camera.Posted()[3]));
    for (const HttpRequest& posted : camera.Posted()) {
        EXPECT_EQ(HeaderOf(posted, "Authorization"), "(none)"); // never both
        EXPECT_EQ(posted.body.find("ffne-mich"), std::string::npos);
        EXPECT_EQ(posted.body.find("PasswordText"), std::string::npos);
    }
}

TEST(DeviceSessionTest, RefusalWithoutDigestChallengeLeadsToAToken) {
    // A fault with a prefix of the camera's own for the error namespace, then a 401 that offers
    // Basic only: neither gets anything but a token.
    const std::string notAuthorized = CameraEnvelope(
        R"(<SOAP-ENV:Fault><SOAP-ENV:Code><SOAP-ENV:Value>SOAP-ENV:Sender</SOAP-ENV:Value>)"
        R"(<SOAP-ENV:Subcode><SOAP-ENV:Value xmlns:e="http://www.onvif.org/ver10/error">)"
        R"(e:NotAuthorized</SOAP-ENV:Value></SOAP-ENV:Subcode></SOAP-ENV:Code></SOAP-ENV:Fault>)");
    for (const auto& [status, body, challenges] :
         {std::tuple<int, std::string, std::vector<std::string>>{400, notAuthorized, {}},
          {401, "", {R"(Basic realm="cam")"}}}) {
        ScriptedTransport camera;
        camera.ThenAnswer(500, CameraFault("ter:ActionNotSupported", "no"))
            .ThenAnswer(status, body, challenges)
            .ThenAnswer(200, DateAndTime(system_clock::now()))
            .ThenAnswer(200, kAnswer);
        DeviceSession session(camera, kUrl, {"admin", kPassword});
        const auto result = session.Call(kAction, kRequest, true);
        EXPECT_EQ(result.outcome, CallOutcome::Answered) << status << result.detail;
        ASSERT_EQ(camera.Posted().size(), 4u);
        EXPECT_TRUE(HasToken(camera.Posted()[3]));
        for (const HttpRequest& posted : camera.Posted()) {
            EXPECT_EQ(HeaderOf(posted, "Authorization"), "(none)");
        }
    }
}

TEST(DeviceSessionTest, CameraThatNeedsNoLoginIsAnsweredWithoutCredentials) {
    ScriptedTransport camera;
    camera.ThenAnswer(200, Capabilities(true, true)).ThenAnswer(200, kAnswer);
    DeviceSession session(camera, kUrl, {"admin", kPassword});
    EXPECT_EQ(session.Call(kAction, kRequest, true).outcome, CallOutcome::Answered);
    ASSERT_EQ(camera.Posted().size(), 2u);
    EXPECT_EQ(HeaderOf(camera.Posted()[1], "Authorization"), "(none)");
    EXPECT_FALSE(HasToken(camera.Posted()[1]));
}

TEST(DeviceSessionTest, CameraAnHourAheadGetsCreatedOnItsOwnClock) {
    ScriptedTransport camera;
    camera.ThenAnswer(200, Capabilities(false, true))
        .ThenAnswer(200, DateAndTime(system_clock::now() + 1h))
        .ThenAnswer(200, kAnswer);
    DeviceSession session(camera, kUrl, {"admin", kPassword});

    ASSERT_EQ(session.Call(kAction, kRequest, true).outcome, CallOutcome::Answered);
    ASSERT_EQ(camera.Posted().size(), 3u);
    EXPECT_TRUE(Near(CreatedFromNow(camera.Posted()[2]), 1h));
    ASSERT_TRUE(session.CameraClockOffset());
    EXPECT_NEAR(duration<double>(*session.CameraClockOffset()).count(), 3600.0, 2.0);
}

TEST(DeviceSessionTest, RefusedTokenIsTriedOnceMoreWithTheOtherClockWhichIsThenKept) {
    ScriptedTransport camera;
    camera.ThenAnswer(200, Capabilities(false, true))
        .ThenAnswer(200, DateAndTime(system_clock::now() + 1h))
        .ThenAnswer(400, CameraFault("ter:NotAuthorized", "Sender not authorized"))
        .ThenAnswer(200, kAnswer)
        .ThenAnswer(200, kAnswer);
    DeviceSession session(camera, kUrl, {"admin", kPassword});

    ASSERT_EQ(session.Call(kAction, kRequest, true).outcome, CallOutcome::Answered);
    ASSERT_EQ(camera.Posted().size(), 4u);
    EXPECT_TRUE(Near(CreatedFromNow(camera.Posted()[2]), 1h));
    EXPECT_TRUE(Near(CreatedFromNow(camera.Posted()[3]), 0s));
    ASSERT_EQ(session.Call(kAction, kRequest, true).outcome, CallOutcome::Answered);
    ASSERT_EQ(camera.Posted().size(), 5u);
    EXPECT_TRUE(Near(CreatedFromNow(camera.Posted()[4]), 0s));
}

// The camera's half second past the hour keeps the offset's words away from 59 min 59 s.
TEST(DeviceSessionTest, WrongPasswordWithTokensSaysWhichClocksWereTriedAndThenSendsNothing) {
    ScriptedTransport camera;
    camera.ThenAnswer(200, Capabilities(false, true))
        .ThenAnswer(200, DateAndTime(system_clock::now() + 1h + 500ms))
        .ThenAnswer(401, "")
        .ThenAnswer(400, CameraFault("ter:NotAuthorized", "Sender not authorized"))
        .ThenAnswer(200, kAnswer);
    DeviceSession session(camera, kUrl, {"admin", "wrong"});

    const auto result = session.Call(kAction, kRequest, true);
    EXPECT_EQ(result.outcome, CallOutcome::LoginRefused);
    EXPECT_EQ(result.detail,
              "the camera refused the user name and password (WS-Security UsernameToken) both "
              "with its own clock, 1 h 0 min ahead of this computer's, and with this computer's "
              "clock");
    ASSERT_EQ(camera.Posted().size(), 4u);

    const auto again = session.Call(kAction, kRequest, true);
    EXPECT_EQ(again.outcome, CallOutcome::LoginRefused);
    EXPECT_EQ(again.detail, result.detail);
    EXPECT_EQ(camera.Posted().size(), 4u);
}

TEST(DeviceSessionTest, WrongPasswordWithTokensOnTheSameClockIsTriedOnce) {
    ScriptedTransport camera;
    camera.ThenAnswer(200, Capabilities(false, true))
        .ThenAnswer(200, DateAndTime(system_clock::now()))
        .ThenAnswer(401, "");
    DeviceSession session(camera, kUrl, {"admin", "wrong"});
    const auto result = session.Call(kAction, kRequest, true);
    EXPECT_EQ(result.outcome, CallOutcome::LoginRefused);
    EXPECT_NE(result.detail.find("so the clock is not the cause"), std::string::npos)
        << result.detail;
    EXPECT_EQ(camera.Posted().size(), 3u);
}

TEST(DeviceSessionTest, WrongPasswordWithDigestThenNothingIsSent) {
    ScriptedTransport camera;
    camera.ThenAnswer(404, "<html>no</html>")
        .ThenAnswer(401, "", {kMd5Challenge})
        .ThenAnswer(401, "", {R"(Digest realm="cam", qop="auth", nonce="n2")"})
        .ThenAnswer(200, kAnswer);
    DeviceSession session(camera, kUrl, {"admin", "wrong"});

    const auto result = session.Call(kAction, kRequest, true);
    EXPECT_EQ(result.outcome, CallOutcome::LoginRefused);
    EXPECT_EQ(result.detail, "the camera refused the user name and password (HTTP Digest, MD5)");
    EXPECT_EQ(camera.Posted().size(), 3u);
    EXPECT_EQ(session.Call(kAction, kRequest, true).outcome, CallOutcome::LoginRefused);
    EXPECT_EQ(camera.Posted().size(), 3u);
}

TEST(DeviceSessionTest, StaleNonceIsRenewedOnce) {
    const std::string stale = R"(Digest realm="cam", qop="auth", nonce="n2", stale=true)";
    ScriptedTransport camera;
    camera.ThenAnswer(200, Capabilities(true, true))
        .ThenAnswer(401, "", {kMd5Challenge})
        .ThenAnswer(200, kAnswer)
        .ThenAnswer(401, "", {stale})
        .ThenAnswer(200, kAnswer);
    DeviceSession session(camera, kUrl, {"admin", kPassword});

    ASSERT_EQ(session.Call(kAction, kRequest, true).outcome, CallOutcome::Answered);
    const auto result = session.Call(kAction, kRequest, true);
    ASSERT_EQ(result.outcome, CallOutcome::Answered) << result.detail;
    ASSERT_EQ(camera.Posted().size(), 5u);
    EXPECT_NE(HeaderOf(camera.Posted()[3], "Authorization").find("nonce=\"n1\", nc=00000002"),
              std::string::npos);
    EXPECT_NE(HeaderOf(camera.Posted()[4], "Authorization").find("nonce=\"n2\", nc=00000001"),
              std::string::npos);
}

TEST(DeviceSessionTest, RedirectIsABadAnswerAndNotFollowed) {
    ScriptedTransport camera;
    camera.ThenAnswer(302, "").ThenAnswer(302, "");
    DeviceSession session(camera, kUrl, {"admin", kPassword});
    const auto result = session.Call(kAction, kRequest, true);
    EXPECT_EQ(result.outcome, CallOutcome::BadAnswer);
    EXPECT_EQ(result.detail,
              "the camera redirected the request (HTTP 302), and redirects are not followed");
    EXPECT_EQ(camera.Posted().size(), 2u);
}

TEST(DeviceSessionTest, FaultWithOddTextIsReportedAsSentAndBounded) {
    const std::string odd =
        "<![CDATA[<b>Fehler</b> \"&amp;\" ]]>&#x202E;\n" + std::string(3000, 'x') + "\xc3\xa4";
    ScriptedTransport camera;
    camera.ThenAnswer(500, CameraFault("ter:InvalidArgVal", odd));
    DeviceSession session(camera, kUrl, {"admin", kPassword});
    const auto result = session.Call(kAction, kRequest, false);
    EXPECT_EQ(result.outcome, CallOutcome::Fault);
    EXPECT_EQ(result.faultCode, "ter:InvalidArgVal");
    EXPECT_EQ(result.faultReason.rfind("<b>Fehler</b> \"&amp;\" \xe2\x80\xae\n", 0), 0u);
    EXPECT_LE(result.faultReason.size(), 1024u);
    EXPECT_EQ(result.detail, "the camera answered with a SOAP fault (HTTP 500)");
    EXPECT_EQ(HeaderOf(camera.Posted()[0], "Authorization"), "(none)");
    EXPECT_FALSE(HasToken(camera.Posted()[0]));
}

TEST(DeviceSessionTest, TransportFailuresAndOtherAnswersInPlainWords) {
    struct Case {
        std::function<void(ScriptedTransport&)> script;
        CallOutcome outcome;
        std::string detail;
    };
    const std::vector<Case> cases = {
        {[](auto& c) { c.ThenFailure(HttpFailure::Timeout, "after 10 s"); },
         CallOutcome::Unreachable, "the camera did not answer in time (after 10 s)"},
        {[](auto& c) { c.ThenFailure(HttpFailure::Connect, "refused"); }, CallOutcome::Unreachable,
         "no connection to the camera (refused)"},
        {[](auto& c) { c.ThenFailure(HttpFailure::Broken, ""); }, CallOutcome::Unreachable,
         "the connection to the camera was lost"},
        {[](auto& c) { c.ThenFailure(HttpFailure::TooLarge, ""); }, CallOutcome::BadAnswer,
         "the camera's answer is larger than allowed"},
        {[](auto& c) { c.ThenFailure(HttpFailure::Certificate, "self-signed"); },
         CallOutcome::BadAnswer, "the camera's HTTPS certificate is not trusted (self-signed)"},
        {[](auto& c) { c.ThenAnswer(200, "<html>Login</html>"); }, CallOutcome::BadAnswer,
         "the camera's answer is not a SOAP envelope: not a SOAP envelope"},
        {[](auto& c) { c.ThenAnswer(404, "<html>no</html>"); }, CallOutcome::BadAnswer,
         "the camera answered HTTP 404"},
    };
    for (const Case& test : cases) {
        ScriptedTransport camera;
        test.script(camera);
        DeviceSession session(camera, kUrl, {"admin", kPassword});
        const auto result = session.Call(kAction, kRequest, false);
        EXPECT_EQ(result.outcome, test.outcome) << test.detail;
        EXPECT_EQ(result.detail, test.detail);
    }
}

} // namespace
