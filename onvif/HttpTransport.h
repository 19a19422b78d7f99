#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vanmoor::onvif {

// One POST of a SOAP request. `headers` are sent as given (an Authorization the caller wrote);
// the transport adds nothing that authenticates on its own.
struct HttpRequest {
    std::string url; // http:// or https:// only
    std::string contentType;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

// Every request ends within `total`, and never holds more than `maxBodyBytes` of the answer.
struct HttpLimits {
    std::chrono::milliseconds connect{3000};
    std::chrono::milliseconds total{10000};
    std::size_t maxBodyBytes = 1024 * 1024;
};

enum class HttpFailure {
    None,
    BadUrl,      // not http or https, or unreadable
    Connect,     // no connection: refused, unreachable, no route
    Timeout,     // connecting or the whole exchange took longer than the limit
    TooLarge,    // the body passed maxBodyBytes
    Certificate, // HTTPS: the certificate was not trusted
    Broken,      // the connection was lost or the answer was not HTTP
};

struct HttpResponse {
    int status = 0;
    std::string contentType;
    // Every WWW-Authenticate header of the answer, one entry each, in order.
    std::vector<std::string> wwwAuthenticate;
    std::string body;
};

struct HttpResult {
    HttpFailure failure = HttpFailure::None;
    std::string detail; // the platform's words for a failure, for the log and messages
    HttpResponse response;
};

struct TransportOptions {
    // HTTPS: accept a certificate the platform's store does not trust (a camera's own).
    bool acceptUntrustedCertificate = false;
};

// Posts requests; redirects are never followed (a 3xx comes back as it is). libcurl on Linux,
// WinHTTP on Windows. One transport may be used by one thread at a time.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual HttpResult Post(const HttpRequest& request, const HttpLimits& limits) = 0;
};

std::unique_ptr<HttpTransport> MakeHttpTransport(const TransportOptions& options);

} // namespace vanmoor::onvif
