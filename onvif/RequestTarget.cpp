#include "RequestTarget.h"

namespace vanmoor::onvif {

std::string RequestTarget(std::string_view url) {
    const std::size_t fragment = url.find('#');
    url = url.substr(0, fragment);
    const std::size_t scheme = url.find("://");
    const std::size_t authority = scheme == std::string_view::npos ? 0 : scheme + 3;
    const std::size_t target = url.find_first_of("/?", authority);
    if (target == std::string_view::npos) {
        return "/";
    }
    std::string text(url.substr(target));
    if (text.front() == '?') {
        text.insert(text.begin(), '/');
    }
    return text;
}

} // namespace vanmoor::onvif
