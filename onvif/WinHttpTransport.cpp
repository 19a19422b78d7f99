#include "HttpExchange.h"
#include "HttpTransport.h"
#include "HttpUrl.h"

#include <windows.h>

#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>
#include <string>

// WinHTTP's HttpTransport, behaving as the libcurl one does: no proxy, no redirect, no logon of
// its own; the total time limit kept here, as WinHTTP's limits hold per step only and a body
// that drips a byte at a time would never end.
namespace vanmoor::onvif {

namespace {

struct HandleClose {
    void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleClose>;

using Clock = std::chrono::steady_clock;

std::wstring Wide(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty() || wide.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

HttpFailure FailureOf(DWORD error, bool acceptingUntrusted) {
    switch (error) {
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
        return HttpFailure::BadUrl;
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        return HttpFailure::Connect;
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT: // Wine's WinHTTP passes the socket's own code on
        return HttpFailure::Timeout;
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
        // How Wine reports a certificate it does not trust; with every certificate accepted,
        // the handshake itself failed.
        return acceptingUntrusted ? HttpFailure::Broken : HttpFailure::Certificate;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
        return HttpFailure::Certificate;
    default:
        return HttpFailure::Broken;
    }
}

// WinHTTP's own words for an error, with its number.
std::string Describe(DWORD error) {
    std::string detail = "WinHTTP error " + std::to_string(error);
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
            FORMAT_MESSAGE_IGNORE_INSERTS,
        GetModuleHandleW(L"winhttp.dll"), error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length > 0 && text != nullptr) {
        std::wstring words(text, length);
        while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' ||
                                  words.back() == L' ' || words.back() == L'.')) {
            words.pop_back();
        }
        detail += ": " + Utf8(words);
    }
    LocalFree(text);
    return detail;
}

// The failure of the last WinHTTP call; past the deadline any failure is the time limit's,
// whatever the step that noticed it calls it.
HttpResult LastFailure(Clock::time_point deadline, bool acceptingUntrusted) {
    const DWORD error = GetLastError();
    const HttpFailure failure =
        Clock::now() >= deadline ? HttpFailure::Timeout : FailureOf(error, acceptingUntrusted);
    return {failure, Describe(error), {}};
}

// The time left before `deadline`, as WinHTTP takes its limits: at least 1 ms (0 would mean
// no limit at all).
int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 1, INT_MAX));
}

// Every step may take only what is left of the whole.
bool LimitSteps(HINTERNET request, Clock::time_point deadline, std::chrono::milliseconds connect) {
    const int left = MillisecondsLeft(deadline);
    const int connectLeft =
        std::min(left, static_cast<int>(std::clamp<long long>(connect.count(), 1, INT_MAX)));
    DWORD receive = static_cast<DWORD>(left);
    return WinHttpSetTimeouts(request, left, connectLeft, left, left) &&
           WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &receive,
                            sizeof receive);
}

bool SetFlags(HINTERNET handle, DWORD option, DWORD flags) {
    return WinHttpSetOption(handle, option, &flags, sizeof flags);
}

// One header of the answer by its query number; `index` walks the headers that share a name.
bool QueryHeader(HINTERNET request, DWORD query, DWORD* index, std::wstring& value) {
    DWORD bytes = 0;
    WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &bytes, index);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) {
        return false;
    }
    value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &bytes,
                             index)) {
        return false;
    }
    value.resize(bytes / sizeof(wchar_t));
    return true;
}

void ReadHeaders(HINTERNET request, HttpExchange& exchange) {
    DWORD status = 0;
    DWORD size = sizeof status;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    exchange.Status(static_cast<int>(status));
    std::wstring value;
    if (QueryHeader(request, WINHTTP_QUERY_CONTENT_TYPE, WINHTTP_NO_HEADER_INDEX, value)) {
        exchange.Header("Content-Type", Utf8(value));
    }
    if (QueryHeader(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_NO_HEADER_INDEX, value)) {
        exchange.Header("Content-Length", Utf8(value));
    }
    // WinHTTP moves the index on to the next header of the name; never loop on one.
    DWORD index = 0;
    for (;;) {
        const DWORD before = index;
        if (!QueryHeader(request, WINHTTP_QUERY_WWW_AUTHENTICATE, &index, value)) {
            break;
        }
        exchange.Header("WWW-Authenticate", Utf8(value));
        if (index == before) {
            break;
        }
    }
}

class WinHttpTransport final : public HttpTransport {
public:
    explicit WinHttpTransport(const TransportOptions& options) : m_Options(options) {}

    HttpResult Post(const HttpRequest& request, const HttpLimits& limits) override {
        const Clock::time_point deadline = Clock::now() + limits.total;
        std::string why;
        const auto url = ParseHttpUrl(request.url, why);
        if (!url) {
            return {HttpFailure::BadUrl, why, {}};
        }
        const auto lines = HttpExchange::RequestHeaderLines(request, why);
        if (!lines) {
            return {HttpFailure::BadUrl, why, {}};
        }
        if (!m_Session) {
            m_Session.reset(WinHttpOpen(L"Vanmoor", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                        WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
            if (!m_Session) {
                return Failed(deadline);
            }
        }
        const Handle connection(
            WinHttpConnect(m_Session.get(), Wide(url->host).c_str(), url->port, 0));
        if (!connection) {
            return Failed(deadline);
        }
        const Handle handle(WinHttpOpenRequest(
            connection.get(), L"POST", Wide(url->target).c_str(), nullptr, WINHTTP_NO_REFERER,
            WINHTTP_DEFAULT_ACCEPT_TYPES, url->secure ? WINHTTP_FLAG_SECURE : 0));
        if (!handle) {
            return Failed(deadline);
        }
        HINTERNET post = handle.get();
        // No redirect followed, no cookie kept, no Windows logon offered to the camera.
        if (!SetFlags(post, WINHTTP_OPTION_DISABLE_FEATURE,
                      WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES) ||
            !SetFlags(post, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER) ||
            !SetFlags(post, WINHTTP_OPTION_AUTOLOGON_POLICY,
                      WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH)) {
            return Failed(deadline);
        }
        if (url->secure && m_Options.acceptUntrustedCertificate &&
            !SetFlags(post, WINHTTP_OPTION_SECURITY_FLAGS,
                      SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
                          SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                          SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE)) {
            return Failed(deadline);
        }
        std::string headers;
        for (const std::string& line : *lines) {
            headers += line + "\r\n";
        }
        const std::wstring wideHeaders = Wide(headers);
        if (request.body.size() > MAXDWORD) {
            return {HttpFailure::BadUrl, "the request is too large to send", {}};
        }
        const DWORD bodySize = static_cast<DWORD>(request.body.size());
        if (!LimitSteps(post, deadline, limits.connect) ||
            !WinHttpSendRequest(post, wideHeaders.c_str(), static_cast<DWORD>(-1L),
                                const_cast<char*>(request.body.data()), bodySize, bodySize, 0) ||
            !LimitSteps(post, deadline, limits.connect) || !WinHttpReceiveResponse(post, nullptr)) {
            return Failed(deadline);
        }
        HttpExchange exchange(limits.maxBodyBytes);
        ReadHeaders(post, exchange);
        if (!exchange.LengthWithinLimit()) {
            return {HttpFailure::TooLarge, "the answer announces more than the limit", {}};
        }
        return ReadBody(post, deadline, limits.connect, exchange);
    }

private:
    HttpResult Failed(Clock::time_point deadline) const {
        return LastFailure(deadline, m_Options.acceptUntrustedCertificate);
    }

    HttpResult ReadBody(HINTERNET request, Clock::time_point deadline,
                        std::chrono::milliseconds connect, HttpExchange& exchange) {
        std::string piece;
        for (;;) {
            if (Clock::now() >= deadline) {
                return {HttpFailure::Timeout, "the answer took longer than the time limit", {}};
            }
            DWORD available = 0;
            if (!LimitSteps(request, deadline, connect) ||
                !WinHttpQueryDataAvailable(request, &available)) {
                return Failed(deadline);
            }
            if (available == 0) {
                break;
            }
            piece.resize(std::min<DWORD>(available, 64 * 1024));
            DWORD read = 0;
            if (!WinHttpReadData(request, piece.data(), static_cast<DWORD>(piece.size()), &read)) {
                return Failed(deadline);
            }
            if (!exchange.Body(std::string_view(piece.data(), read))) {
                return {HttpFailure::TooLarge, "the answer passed the size limit", {}};
            }
        }
        if (!exchange.Complete()) {
            return {HttpFailure::Broken, "the connection ended before the whole answer came", {}};
        }
        return {HttpFailure::None, {}, std::move(exchange.Response())};
    }

    TransportOptions m_Options;
    Handle m_Session;
};

} // namespace

std::unique_ptr<HttpTransport> MakeHttpTransport(const TransportOptions& options) {
    return std::make_unique<WinHttpTransport>(options);
}

} // namespace vanmoor::onvif
