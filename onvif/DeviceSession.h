#pragma once

#include "AnswerOutcome.h"
#include "Credentials.h"
#include "DigestLogin.h"
#include "HttpTransport.h"
#include "SoapCaller.h"
#include "XmlReader.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vanmoor::onvif {

// The device service of one camera over a transport, logging in as the camera wants:
// HTTP Digest when it challenges, WS-Security UsernameToken when it refuses without a challenge
// or offers only that, never both in one request and never a password in clear. The scheme
// that worked is used at once by later calls. A UsernameToken carries the camera's clock,
// measured before the first one; a refused token is tried once more with the other clock
// (this computer's or the camera's). Once the camera refused the login, no login reaches it
// again in this session. One thread at a time, like the transport.
class DeviceSession final : public SoapCaller {
public:
    // `transport` must outlive the session.
    DeviceSession(HttpTransport& transport, std::string url, Credentials credentials,
                  HttpLimits limits = {});
    ~DeviceSession() override;

    CallResult Call(std::string_view action, std::string_view body, bool login) override;

    // How far the camera's clock is ahead of this computer's, once it was measured.
    std::optional<std::chrono::milliseconds> CameraClockOffset() const { return m_clockOffset; }

private:
    enum class Scheme { Unknown, Digest, UsernameToken };

    Exchange Post(std::string_view action, std::string_view body, std::string_view header = {},
                  const std::string* authorization = nullptr);
    CallResult FirstLogin(std::string_view action, std::string_view body);
    CallResult DigestCall(std::string_view action, std::string_view body, bool freshChallenge);
    CallResult TokenCall(std::string_view action, std::string_view body);
    // Asks the camera once whether it offers only a UsernameToken (m_onlyUsernameToken); the
    // call's outcome when the camera could not be reached, so that nothing more is sent.
    std::optional<CallResult> AskLoginOffer();
    void MeasureClock();
    std::string TokenRefusal(bool triedBothClocks) const;
    CallResult Refuse(std::string detail);

    HttpTransport& m_transport;
    std::string m_url;
    std::string m_target; // the request line's path and query, for Digest
    Credentials m_credentials;
    HttpLimits m_limits;
    std::unique_ptr<wsd::XmlReader> m_reader;
    DigestLogin m_digest;

    Scheme m_scheme = Scheme::Unknown;
    std::optional<bool> m_onlyUsernameToken; // the capabilities, once asked
    bool m_clockMeasured = false;
    std::optional<std::chrono::milliseconds> m_clockOffset;
    std::string m_clockProblem;                             // why the camera's clock is unknown
    std::optional<std::chrono::milliseconds> m_tokenOffset; // the clock of the accepted token
    std::optional<CallResult> m_refusal;
};

} // namespace vanmoor::onvif
