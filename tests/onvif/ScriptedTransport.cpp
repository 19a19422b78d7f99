#include "ScriptedTransport.h"

namespace vanmoor::onvif::test {

ScriptedTransport& ScriptedTransport::Then(HttpResult result) {
    m_script.push_back(std::move(result));
    return *this;
}

ScriptedTransport& ScriptedTransport::ThenAnswer(int status, std::string body,
                                                 std::vector<std::string> wwwAuthenticate) {
    HttpResult result;
    result.response.status = status;
    result.response.contentType = "application/soap+xml; charset=utf-8";
    result.response.body = std::move(body);
    result.response.wwwAuthenticate = std::move(wwwAuthenticate);
    return Then(std::move(result));
}

ScriptedTransport& ScriptedTransport::ThenFailure(HttpFailure failure, std::string detail) {
    HttpResult result;
    result.failure = failure;
    result.detail = std::move(detail);
    return Then(std::move(result));
}

HttpResult ScriptedTransport::Post(const HttpRequest& request, const HttpLimits&) {
    m_posted.push_back(request);
    if (m_script.empty()) {
        HttpResult none;
        none.failure = HttpFailure::Connect;
        none.detail = "nothing more scripted";
        return none;
    }
    HttpResult next = std::move(m_script.front());
    m_script.pop_front();
    return next;
}

std::string CameraEnvelope(const std::string& body) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>)"
           R"(<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://www.w3.org/2003/05/soap-envelope" )"
           R"(xmlns:tds="http://www.onvif.org/ver10/device/wsdl" )"
           R"(xmlns:tt="http://www.onvif.org/ver10/schema" )"
           R"(xmlns:ter="http://www.onvif.org/ver10/error"><SOAP-ENV:Body>)" +
           body + "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string CameraFault(const std::string& subcode, const std::string& reason) {
    return CameraEnvelope("<SOAP-ENV:Fault><SOAP-ENV:Code><SOAP-ENV:Value>SOAP-ENV:Sender"
                          "</SOAP-ENV:Value><SOAP-ENV:Subcode><SOAP-ENV:Value>" +
                          subcode +
                          "</SOAP-ENV:Value></SOAP-ENV:Subcode></SOAP-ENV:Code><SOAP-ENV:Reason>"
                          "<SOAP-ENV:Text xml:lang=\"en\">" +
                          reason + "</SOAP-ENV:Text></SOAP-ENV:Reason></SOAP-ENV:Fault>");
}

std::string HeaderOf(const HttpRequest& request, const std::string& name) {
    for (const auto& [key, value] : request.headers) {
        if (key == name) {
            return value;
        }
    }
    return "(none)";
}

} // namespace vanmoor::onvif::test
