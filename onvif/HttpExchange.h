#pragma once

#include "HttpTransport.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::onvif {

// What both transports make of a request and of the answer as it arrives, so that libcurl and
// WinHTTP keep the same headers, the same limit and the same idea of a complete answer.
class HttpExchange {
public:
    explicit HttpExchange(std::size_t maxBodyBytes) : m_MaxBodyBytes(maxBodyBytes) {}

    // The request's header lines ("Name: value"), Content-Type first; nullopt when a name or
    // value holds a line break or NUL (a camera's challenge echoed into an Authorization could
    // otherwise add headers of its own) or a name is empty or not a token.
    static std::optional<std::vector<std::string>> RequestHeaderLines(const HttpRequest& request,
                                                                      std::string& why);

    // A status line starts an answer afresh (an interim 1xx came before the real one).
    void Status(int status);
    // One header; names compare without case. Keeps Content-Type and every WWW-Authenticate,
    // and notes Content-Length to tell a cut answer from a complete one.
    void Header(std::string_view name, std::string_view value);
    // One raw header line as libcurl hands it over: a status line, "Name: value" or the end.
    void HeaderLine(std::string_view line);
    // False when the answer announces more than the limit: nothing of it need be read.
    bool LengthWithinLimit() const;
    // Appends a piece of the body; false once the body would pass the limit, and then the
    // transfer must stop (the piece is not kept).
    bool Body(std::string_view piece);

    bool TooLarge() const { return m_TooLarge; }
    // False when the connection ended before the announced Content-Length arrived.
    bool Complete() const;

    HttpResponse& Response() { return m_Response; }

private:
    std::size_t m_MaxBodyBytes;
    bool m_TooLarge = false;
    std::optional<std::uint64_t> m_ContentLength;
    HttpResponse m_Response;
};

} // namespace vanmoor::onvif
