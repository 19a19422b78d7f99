#pragma once

#include "HttpTransport.h"
#include "SoapAnswer.h"
#include "SoapCaller.h"

namespace vanmoor::onvif {

// An exchange with the device service: what the transport brought back and, when it brought
// an answer, how that answer reads as SOAP.
struct Exchange {
    HttpResult http;
    SoapAnswer answer;
};

// What the exchange came to for the caller, logins aside: Answered (200 and an envelope),
// Fault (an envelope with a fault, whatever the status), Unreachable (no connection, a timeout,
// a lost connection) or BadAnswer (anything else), each with its detail in plain words.
CallResult AnswerOutcome(const Exchange& exchange);

// Whether the camera refused the request's login, or its missing login: 401 or 403, or a
// fault saying the sender is not authorized or failed authentication.
bool RefusesLogin(const Exchange& exchange);

} // namespace vanmoor::onvif
