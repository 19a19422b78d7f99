#include "HttpExchange.h"
#include "HttpTransport.h"
#include "HttpUrl.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

// libcurl's HttpTransport: it moves the bytes and nothing more. Every feature that would act on
// its own (proxies from the environment, redirects, authentication, decompression, protocols
// other than HTTP) stays off, so that what is sent is what the caller wrote.
namespace vanmoor::onvif {

namespace {

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

bool GlobalInit() {
    // curl_global_init is not safe to race with itself or with other curl calls.
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    static_cast<HttpExchange*>(user)->HeaderLine(std::string_view(data, size * count));
    return size * count;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& exchange = *static_cast<HttpExchange*>(user);
    // A short count makes curl stop the transfer with CURLE_WRITE_ERROR.
    return exchange.Body(std::string_view(data, size * count)) ? size * count : 0;
}

HttpFailure FailureOf(CURLcode code, const HttpExchange& exchange) {
    if (exchange.TooLarge() || code == CURLE_FILESIZE_EXCEEDED) {
        return HttpFailure::TooLarge;
    }
    switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return HttpFailure::BadUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return HttpFailure::Connect;
    case CURLE_OPERATION_TIMEDOUT:
        return HttpFailure::Timeout;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return HttpFailure::Certificate;
    default:
        return HttpFailure::Broken;
    }
}

class CurlTransport final : public HttpTransport {
public:
    explicit CurlTransport(const TransportOptions& options) : m_Options(options) {}

    HttpResult Post(const HttpRequest& request, const HttpLimits& limits) override {
        std::string why;
        if (!ParseHttpUrl(request.url, why)) {
            return {HttpFailure::BadUrl, why, {}};
        }
        const auto lines = HttpExchange::RequestHeaderLines(request, why);
        if (!lines) {
            return {HttpFailure::BadUrl, why, {}};
        }
        if (!GlobalInit()) {
            return {HttpFailure::Broken, "libcurl could not be initialised", {}};
        }
        if (!m_Easy) {
            // Kept from request to request: its open connections are reused.
            m_Easy.reset(curl_easy_init());
            if (!m_Easy) {
                return {HttpFailure::Broken, "libcurl could not start a transfer", {}};
            }
        }
        curl_slist* list = nullptr;
        for (const std::string& line : *lines) {
            list = curl_slist_append(list, line.c_str());
        }
        // curl adds Expect: 100-continue to larger bodies; cameras answer it badly.
        list = curl_slist_append(list, "Expect:");
        const std::unique_ptr<curl_slist, ListCleanup> headers(list);

        HttpExchange exchange(limits.maxBodyBytes);
        char error[CURL_ERROR_SIZE] = {};
        CURL* easy = m_Easy.get();
        curl_easy_reset(easy);
        curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        // An empty proxy name and "*" for the exceptions: the environment's proxy settings
        // are never used; a proxy would see every request.
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
        curl_easy_setopt(easy, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_IGNORED));
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_NONE));
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        // HTTP/1.1 as WinHTTP speaks it, also where TLS would offer HTTP/2.
        curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(limits.connect.count()));
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
        curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(limits.maxBodyBytes));
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, error);
        if (m_Options.acceptUntrustedCertificate) {
            curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
        }

        const CURLcode code = curl_easy_perform(easy);
        if (code != CURLE_OK) {
            // The error buffer belongs to this call only.
            curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);
            return {
                FailureOf(code, exchange), error[0] != '\0' ? error : curl_easy_strerror(code), {}};
        }
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        exchange.Response().status = static_cast<int>(status);
        return {HttpFailure::None, {}, std::move(exchange.Response())};
    }

private:
    TransportOptions m_Options;
    std::unique_ptr<CURL, EasyCleanup> m_Easy;
};

} // namespace

std::unique_ptr<HttpTransport> MakeHttpTransport(const TransportOptions& options) {
    return std::make_unique<CurlTransport>(options);
}

} // namespace vanmoor::onvif
