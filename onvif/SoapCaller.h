#pragma once

#include <string>
#include <string_view>

namespace vanmoor::onvif {

// How one SOAP call to a camera's device service ended.
enum class CallOutcome {
    Answered,     // HTTP 200 with a SOAP body: `body` holds the whole envelope
    Fault,        // a SOAP fault other than a refused login: `faultCode`, `faultReason`
    LoginRefused, // the credentials were refused with every scheme and clock tried
    Unreachable,  // no connection, a timeout, a lost connection: the request may not have arrived
    BadAnswer,    // an answer that is not a SOAP envelope, too large, a redirect, another status
};

struct CallResult {
    CallOutcome outcome = CallOutcome::BadAnswer;
    std::string body;
    std::string faultCode;   // the innermost Subcode's value if any, else the Code's (a QName text)
    std::string faultReason; // the fault's Reason text as sent (untrusted)
    std::string detail;      // what went wrong, in words for a message to the user
};

// Sends one operation of the device service: `body` is the content of the SOAP Body (one
// request element with its namespace declarations), `action` the operation's action URI.
// With `login` the call carries the credentials, otherwise none (GetSystemDateAndTime and
// GetServiceCapabilities work without). The caller reads `body` of an answered call.
class SoapCaller {
public:
    virtual ~SoapCaller() = default;
    virtual CallResult Call(std::string_view action, std::string_view body, bool login) = 0;
};

} // namespace vanmoor::onvif
