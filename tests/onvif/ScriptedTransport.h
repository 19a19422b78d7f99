#pragma once

#include "HttpTransport.h"

#include <deque>
#include <string>
#include <vector>

namespace vanmoor::onvif::test {

// A camera played from a script: it answers the posts in order with the results queued, and
// records every request exactly as it was posted. Past the script it fails to connect.
class ScriptedTransport final : public HttpTransport {
public:
    ScriptedTransport& Then(HttpResult result);
    ScriptedTransport& ThenAnswer(int status, std::string body,
                                  std::vector<std::string> wwwAuthenticate = {});
    ScriptedTransport& ThenFailure(HttpFailure failure, std::string detail);

    HttpResult Post(const HttpRequest& request, const HttpLimits& limits) override;

    const std::vector<HttpRequest>& Posted() const { return m_posted; }
    std::size_t Unused() const { return m_script.size(); }

private:
    std::deque<HttpResult> m_script;
    std::vector<HttpRequest> m_posted;
};

// A SOAP 1.2 envelope as a camera writes it, around `body`, with the device service's
// and the schema's namespaces declared as tds and tt.
std::string CameraEnvelope(const std::string& body);

// A fault envelope with the Sender code, `subcode` (a QName in ter:, the error namespace) and a
// reason.
std::string CameraFault(const std::string& subcode, const std::string& reason);

// The value of the named header of `request`; "(none)" when it has none.
std::string HeaderOf(const HttpRequest& request, const std::string& name);

} // namespace vanmoor::onvif::test
