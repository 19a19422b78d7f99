#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vanmoor::onvif {

// The parts of an http or https URL that both transports need. Read here once, so that every
// platform refuses the same URLs before anything is sent.
struct HttpUrl {
    bool secure = false;
    std::string host; // an IPv6 address without its brackets
    std::uint16_t port = 0;
    std::string target; // path and query, "/" when the URL has none
};

// nullopt, with the reason in `why`, for any scheme but http and https, user information (the
// transport never authenticates on its own), a missing host, a bad port, or characters a
// request line cannot carry.
std::optional<HttpUrl> ParseHttpUrl(std::string_view url, std::string& why);

} // namespace vanmoor::onvif
