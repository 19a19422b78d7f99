#include "HttpUrl.h"

#include <algorithm>
#include <charconv>

namespace vanmoor::onvif {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
           });
}

// Control characters, spaces and bytes beyond ASCII would change the request line or the
// Host header, and the characters no URL may hold WinHTTP would escape where libcurl does not,
// so that the path sent (and a digest over it) would differ; a camera's XAddrs has none of them.
bool Printable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c > ' ' && c < 0x7f &&
               std::string_view("\"<>\\^`{|}").find(c) == std::string_view::npos;
    });
}

} // namespace

std::optional<HttpUrl> ParseHttpUrl(std::string_view url, std::string& why) {
    HttpUrl parsed;
    if (StartsWithNoCase(url, "http://")) {
        url.remove_prefix(7);
    } else if (StartsWithNoCase(url, "https://")) {
        parsed.secure = true;
        url.remove_prefix(8);
    } else {
        why = "only http and https URLs are used";
        return std::nullopt;
    }
    if (!Printable(url)) {
        why = "the URL holds spaces, control characters or non-ASCII bytes";
        return std::nullopt;
    }
    const std::size_t authorityEnd = std::min(url.find_first_of("/?#"), url.size());
    std::string_view authority = url.substr(0, authorityEnd);
    std::string_view rest = url.substr(authorityEnd);
    rest = rest.substr(0, std::min(rest.find('#'), rest.size()));
    if (authority.find('@') != std::string_view::npos) {
        why = "the URL holds user information";
        return std::nullopt;
    }
    std::string_view port;
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            why = "the URL's IPv6 address has no closing bracket";
            return std::nullopt;
        }
        parsed.host = authority.substr(1, close - 1);
        std::string_view after = authority.substr(close + 1);
        if (!after.empty() && !after.starts_with(':')) {
            why = "the URL's host is unreadable";
            return std::nullopt;
        }
        port = after.empty() ? after : after.substr(1);
    } else {
        const std::size_t colon = authority.find(':');
        parsed.host = authority.substr(0, colon);
        port = colon == std::string_view::npos ? std::string_view() : authority.substr(colon + 1);
    }
    if (parsed.host.empty()) {
        why = "the URL has no host";
        return std::nullopt;
    }
    parsed.port = parsed.secure ? 443 : 80;
    if (!port.empty()) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (error != std::errc() || end != port.data() + port.size() || value == 0 ||
            value > 65535) {
            why = "the URL's port is not a number from 1 to 65535";
            return std::nullopt;
        }
        parsed.port = static_cast<std::uint16_t>(value);
    }
    parsed.target = rest.empty() || rest.starts_with('?') ? "/" + std::string(rest) : rest;
    return parsed;
}

} // namespace vanmoor::onvif
