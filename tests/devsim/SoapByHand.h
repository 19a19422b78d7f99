#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <httplib.h>

namespace vanmoor::devsim::test {

// Requests to a simulated camera's device service written out by hand, and their logins computed
// here with OpenSSL, so that nothing of the product's client takes part in the simulator's tests.

constexpr char kServicePath[] = "/onvif/device_service";

// The UTC time as a UsernameToken's Created carries it: 2026-12-10T07:34:21Z.
std::string Created(std::chrono::system_clock::time_point when);

// A WS-Security header with a UsernameToken of user admin: PasswordDigest (or PasswordText),
// a fresh random nonce unless one is given.
std::string TokenHeader(const std::string& password, std::chrono::system_clock::time_point created,
                        std::string nonce = {}, bool digest = true);

// A SOAP 1.2 envelope with the tds: and tt: prefixes declared.
std::string Envelope(const std::string& body, const std::string& header = {});

struct Answer {
    int status = 0; // 0: no whole answer
    std::string body;
    std::vector<std::string> challenges; // the WWW-Authenticate values
};

Answer Post(const std::string& host, const std::string& envelope,
            const httplib::Headers& headers = {}, int port = 80);

// The Authorization header answering a Digest challenge, computed as RFC 7616 says.
std::string DigestAuthorization(const std::string& challenge, const std::string& password,
                                const std::string& nc = "00000001");

} // namespace vanmoor::devsim::test
