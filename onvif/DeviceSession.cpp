#include "DeviceSession.h"

#include "ClockOffsetText.h"
#include "DeviceRequests.h"
#include "PlatformXmlReader.h"
#include "RequestTarget.h"
#include "ServiceCapabilities.h"
#include "SoapEnvelope.h"
#include "SystemDateAndTime.h"
#include "UsernameToken.h"

#include <vector>

namespace vanmoor::onvif {

namespace {

using std::chrono::milliseconds;
using namespace std::chrono_literals;

// Created carries whole seconds: clocks less than a second apart give the same token time.
bool SameClock(milliseconds offset) {
    return offset > milliseconds(-1000) && offset < milliseconds(1000);
}

CallResult NoRandomBytes() {
    CallResult result;
    result.detail = "this computer gave no random bytes for the login, so nothing was sent";
    return result;
}

} // namespace

DeviceSession::DeviceSession(HttpTransport& transport, std::string url, Credentials credentials,
                             HttpLimits limits)
    : m_transport(transport), m_url(std::move(url)), m_target(RequestTarget(m_url)),
      m_credentials(credentials), m_limits(limits), m_reader(wsd::MakeXmlReader()),
      m_digest(std::move(credentials)) {}

DeviceSession::~DeviceSession() = default;

CallResult DeviceSession::Call(std::string_view action, std::string_view body, bool login) {
    if (!login) {
        return AnswerOutcome(Post(action, body));
    }
    if (m_refusal) {
        return *m_refusal;
    }
    switch (m_scheme) {
    case Scheme::Digest:
        return DigestCall(action, body, false);
    case Scheme::UsernameToken:
        return TokenCall(action, body);
    case Scheme::Unknown:
        break;
    }
    return FirstLogin(action, body);
}

Exchange DeviceSession::Post(std::string_view action, std::string_view body,
                             std::string_view header, const std::string* authorization) {
    HttpRequest request{m_url, SoapContentType(action), SoapEnvelope(body, header), {}};
    if (authorization != nullptr) {
        request.headers.emplace_back("Authorization", *authorization);
    }
    Exchange exchange{m_transport.Post(request, m_limits), {}};
    if (exchange.http.failure == HttpFailure::None) {
        exchange.answer =
            ReadSoapAnswer(exchange.http.response.body, *m_reader, m_limits.maxBodyBytes);
    }
    return exchange;
}

// Until a scheme worked, the request goes without credentials first: a camera that wants
// Digest says so in its 401, one that wants a UsernameToken refuses without a challenge (some
// with 400 or 500), and one that needs no login for this request simply answers.
CallResult DeviceSession::FirstLogin(std::string_view action, std::string_view body) {
    if (std::optional<CallResult> silent = AskLoginOffer()) {
        return *silent;
    }
    if (*m_onlyUsernameToken) {
        return TokenCall(action, body);
    }
    const Exchange plain = Post(action, body);
    if (plain.http.failure != HttpFailure::None) {
        return AnswerOutcome(plain);
    }
    const int status = plain.http.response.status;
    if (status == 401) {
        if (auto challenge = ChooseDigestChallenge(plain.http.response.wwwAuthenticate)) {
            m_digest.Take(std::move(*challenge));
            return DigestCall(action, body, true);
        }
    }
    if (RefusesLogin(plain) || status == 400 || status == 500) {
        return TokenCall(action, body);
    }
    return AnswerOutcome(plain);
}

CallResult DeviceSession::DigestCall(std::string_view action, std::string_view body,
                                     bool freshChallenge) {
    // A nonce the camera no longer takes is renewed once: when it says stale, or when the
    // nonce came from an earlier call.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::optional<std::string> authorization = m_digest.Authorize("POST", m_target);
        if (!authorization) {
            return NoRandomBytes();
        }
        const Exchange exchange = Post(action, body, {}, &*authorization);
        if (!RefusesLogin(exchange)) {
            m_scheme = Scheme::Digest;
            return AnswerOutcome(exchange);
        }
        auto challenge = exchange.http.response.status == 401
                             ? ChooseDigestChallenge(exchange.http.response.wwwAuthenticate)
                             : std::nullopt;
        const bool renew = attempt == 0 && challenge && (challenge->stale || !freshChallenge);
        if (!renew) {
            break;
        }
        m_digest.Take(std::move(*challenge));
    }
    return Refuse("the camera refused the user name and password (HTTP Digest, " +
                  m_digest.Challenge()->AlgorithmName() + ")");
}

CallResult DeviceSession::TokenCall(std::string_view action, std::string_view body) {
    if (!m_clockMeasured) {
        MeasureClock();
    }
    // The clock that worked before first; otherwise the camera's, then this computer's.
    std::vector<milliseconds> clocks{m_tokenOffset.value_or(m_clockOffset.value_or(0ms))};
    if (m_clockOffset && !SameClock(*m_clockOffset)) {
        clocks.push_back(SameClock(clocks.front()) ? *m_clockOffset : 0ms);
    }
    for (const milliseconds offset : clocks) {
        const auto created =
            std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now() + offset);
        const std::optional<std::string> header = FreshUsernameTokenHeader(m_credentials, created);
        if (!header) {
            return NoRandomBytes();
        }
        const Exchange exchange = Post(action, body, *header);
        if (!RefusesLogin(exchange)) {
            const CallResult result = AnswerOutcome(exchange);
            if (result.outcome == CallOutcome::Answered || result.outcome == CallOutcome::Fault) {
                m_scheme = Scheme::UsernameToken;
                m_tokenOffset = offset;
            }
            return result;
        }
    }
    return Refuse(TokenRefusal(clocks.size() > 1));
}

std::optional<CallResult> DeviceSession::AskLoginOffer() {
    if (m_onlyUsernameToken) {
        return std::nullopt;
    }
    const DeviceRequest request = GetServiceCapabilitiesRequest();
    const Exchange exchange = Post(request.action, request.body);
    const CallResult answer = AnswerOutcome(exchange);
    // A camera that took no connection or did not answer in time would only make the request
    // itself wait out the same limits again. A lost connection may be this operation's alone.
    const HttpFailure failure = exchange.http.failure;
    if (failure == HttpFailure::Connect || failure == HttpFailure::Timeout) {
        return answer;
    }
    const std::optional<LoginOffer> offer =
        answer.outcome == CallOutcome::Answered ? ReadLoginOffer(answer.body) : std::nullopt;
    m_onlyUsernameToken = offer && offer->UsernameTokenOnly();
    return std::nullopt;
}

void DeviceSession::MeasureClock() {
    m_clockMeasured = true;
    const auto sent = std::chrono::system_clock::now();
    const auto start = std::chrono::steady_clock::now();
    const DeviceRequest request = GetSystemDateAndTimeRequest();
    const CallResult answer = AnswerOutcome(Post(request.action, request.body));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (answer.outcome != CallOutcome::Answered) {
        m_clockProblem = answer.detail;
        return;
    }
    if (const auto cameraUtc = ReadCameraUtc(answer.body)) {
        m_clockOffset = ClockOffset(*cameraUtc, sent, elapsed);
    } else {
        m_clockProblem = "its answer held no UTC date and time";
    }
}

std::string DeviceSession::TokenRefusal(bool triedBothClocks) const {
    std::string detail = "the camera refused the user name and password (WS-Security "
                         "UsernameToken)";
    if (!m_clockOffset) {
        return detail + " with this computer's clock; the camera's clock could not be read: " +
               m_clockProblem;
    }
    if (!triedBothClocks) {
        return detail + "; its clock is " + ClockOffsetText(*m_clockOffset) +
               ", so the clock is not the cause";
    }
    return detail + " both with its own clock, " + ClockOffsetText(*m_clockOffset) +
           ", and with this computer's clock";
}

CallResult DeviceSession::Refuse(std::string detail) {
    CallResult result;
    result.outcome = CallOutcome::LoginRefused;
    result.detail = std::move(detail);
    m_refusal = result;
    return result;
}

} // namespace vanmoor::onvif
