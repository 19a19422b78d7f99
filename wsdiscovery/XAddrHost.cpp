#include "XAddrHost.h"

namespace vanmoor::wsd {

std::string_view UrlHost(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) {
        return {};
    }
    std::string_view authority = url.substr(scheme + 3);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        authority = authority.substr(at + 1);
    }
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        return close == std::string_view::npos ? std::string_view{}
                                               : authority.substr(1, close - 1);
    }
    return authority.substr(0, authority.find(':'));
}

std::optional<settings::Ipv4Octets> FirstIpv4Host(const std::vector<std::string>& urls) {
    for (const std::string& url : urls) {
        if (const auto address = settings::ParseDottedAddress(UrlHost(url))) {
            return address;
        }
    }
    return std::nullopt;
}

} // namespace vanmoor::wsd
