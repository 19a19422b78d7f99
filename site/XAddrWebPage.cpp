#include "XAddrWebPage.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vanmoor::site {

namespace {

struct WebAddress {
    std::string url; // as sent
    std::string scheme;
    std::string host;
    int port = 0;
    bool userInfo = false;
};

bool PlainAuthority(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    });
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<WebAddress> ParseWebAddress(const std::string& url) {
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string::npos) {
        return std::nullopt;
    }
    WebAddress address;
    address.url = url;
    address.scheme = Lowered(url.substr(0, schemeEnd));
    if (address.scheme != "http" && address.scheme != "https") {
        return std::nullopt;
    }
    const std::size_t start = schemeEnd + 3;
    std::string authority = url.substr(start, url.find_first_of("/?#", start) - start);
    address.userInfo = authority.rfind('@') != std::string::npos;
    authority.erase(0, address.userInfo ? authority.rfind('@') + 1 : 0);
    if (!PlainAuthority(authority)) {
        return std::nullopt;
    }
    const std::size_t bracket = authority.rfind(']');
    const std::size_t colon = authority.rfind(':');
    address.port = address.scheme == "https" ? 443 : 80;
    address.host = authority;
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        address.host = authority.substr(0, colon);
        const std::string port = authority.substr(colon + 1);
        int number = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
        if (error != std::errc{} || end != port.data() + port.size() || number < 1 ||
            number > 65535) {
            return std::nullopt;
        }
        address.port = number;
    }
    if (address.host.empty()) {
        return std::nullopt;
    }
    return address;
}

std::optional<WebAddress> ChosenWebAddress(const std::vector<std::string>& xaddrs,
                                           const std::optional<std::string>& host,
                                           bool withoutUserInfo = false) {
    for (const std::string& url : xaddrs) {
        if (const std::optional<WebAddress> address = ParseWebAddress(url)) {
            if ((!host || address->host == *host) && !(withoutUserInfo && address->userInfo)) {
                return address;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> ListedHost(const settings::Ipv4Octets& ip) {
    return ip == settings::Ipv4Octets{} ? std::nullopt
                                        : std::optional<std::string>(settings::DottedText(ip));
}

std::string PageText(const WebAddress& address) {
    const bool usualPort = address.port == (address.scheme == "https" ? 443 : 80);
    return address.scheme + "://" + address.host +
           (usualPort ? "" : ":" + std::to_string(address.port)) + "/";
}

} // namespace

std::optional<std::string> WebPageOfXAddrs(const std::vector<std::string>& xaddrs,
                                           const settings::Ipv4Octets& ip) {
    const std::optional<std::string> host = ListedHost(ip);
    if (!host) {
        return std::nullopt;
    }
    const std::optional<WebAddress> address = ChosenWebAddress(xaddrs, host);
    return address ? std::optional<std::string>(PageText(*address)) : std::nullopt;
}

std::optional<NamedWebPage> FirstWebPageOfXAddrs(const std::vector<std::string>& xaddrs) {
    const std::optional<WebAddress> address = ChosenWebAddress(xaddrs, std::nullopt);
    return address ? std::optional<NamedWebPage>({address->host, PageText(*address)})
                   : std::nullopt;
}

int WebPortOfXAddrs(const std::vector<std::string>& xaddrs, const settings::Ipv4Octets& ip) {
    // The port shown beside a device: of its own page, else of the first it names.
    const std::optional<std::string> host = ListedHost(ip);
    std::optional<WebAddress> address = host ? ChosenWebAddress(xaddrs, host) : std::nullopt;
    address = address ? address : ChosenWebAddress(xaddrs, std::nullopt);
    return address ? address->port : 0;
}

std::optional<std::string> DeviceServiceUrlOfXAddrs(const std::vector<std::string>& xaddrs,
                                                    const settings::Ipv4Octets& ip) {
    const std::optional<std::string> host = ListedHost(ip);
    const std::optional<WebAddress> address =
        host ? ChosenWebAddress(xaddrs, host, true) : std::nullopt;
    return address ? std::optional<std::string>(address->url) : std::nullopt;
}

} // namespace vanmoor::site
