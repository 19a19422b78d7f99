#include "AnswerOutcome.h"

#include "DeviceNamespaces.h"

#include <string>

namespace vanmoor::onvif {

namespace {

std::string WithDetail(std::string words, const std::string& detail) {
    return detail.empty() ? words : words + " (" + detail + ")";
}

// Connecting, waiting and a lost connection leave the camera unreached (the request may not
// have arrived); the rest is an answer this program does not take.
CallResult TransportFailure(const HttpResult& http) {
    struct Words {
        HttpFailure failure;
        CallOutcome outcome;
        const char* text;
    };
    static constexpr Words kWords[] = {
        {HttpFailure::Connect, CallOutcome::Unreachable, "no connection to the camera"},
        {HttpFailure::Timeout, CallOutcome::Unreachable, "the camera did not answer in time"},
        {HttpFailure::Broken, CallOutcome::Unreachable, "the connection to the camera was lost"},
        {HttpFailure::BadUrl, CallOutcome::BadAnswer,
         "the camera's address is not an http or https URL"},
        {HttpFailure::TooLarge, CallOutcome::BadAnswer,
         "the camera's answer is larger than allowed"},
        {HttpFailure::Certificate, CallOutcome::BadAnswer,
         "the camera's HTTPS certificate is not trusted"},
    };
    CallResult result;
    for (const Words& words : kWords) {
        if (words.failure == http.failure) {
            result.outcome = words.outcome;
            result.detail = WithDetail(words.text, http.detail);
        }
    }
    return result;
}

std::string NotAnEnvelope(wsd::ReadError error) {
    if (error == wsd::ReadError::TooLarge) {
        return "the camera's answer is larger than allowed";
    }
    return std::string("the camera's answer is not a SOAP envelope: ") + wsd::ReadErrorText(error);
}

} // namespace

CallResult AnswerOutcome(const Exchange& exchange) {
    const HttpResult& http = exchange.http;
    if (http.failure != HttpFailure::None) {
        return TransportFailure(http);
    }
    const int status = http.response.status;
    CallResult result;
    if (status >= 300 && status < 400) {
        result.detail = "the camera redirected the request (HTTP " + std::to_string(status) +
                        "), and redirects are not followed";
        return result;
    }
    if (exchange.answer.error == wsd::ReadError::None && exchange.answer.fault) {
        const SoapFault& fault = *exchange.answer.fault;
        result.outcome = CallOutcome::Fault;
        result.faultCode = fault.innermostCode;
        result.faultReason = fault.reason;
        result.detail =
            "the camera answered with a SOAP fault (HTTP " + std::to_string(status) + ")";
        return result;
    }
    if (status != 200) {
        result.detail = "the camera answered HTTP " + std::to_string(status);
        return result;
    }
    if (exchange.answer.error != wsd::ReadError::None) {
        result.detail = NotAnEnvelope(exchange.answer.error);
        return result;
    }
    result.outcome = CallOutcome::Answered;
    result.body = http.response.body;
    return result;
}

bool RefusesLogin(const Exchange& exchange) {
    if (exchange.http.failure != HttpFailure::None) {
        return false;
    }
    const int status = exchange.http.response.status;
    if (status == 401 || status == 403) {
        return true;
    }
    const std::optional<SoapFault>& fault = exchange.answer.fault;
    return exchange.answer.error == wsd::ReadError::None && fault &&
           (fault->Has(kErrorNamespace, "NotAuthorized") ||
            fault->Has(kWsSecurityNamespace, "FailedAuthentication"));
}

} // namespace vanmoor::onvif
