#include "LibraryLink.h"

#include "DeviceSearch.h"
#include "LibraryDevices.h"

namespace kestrun {

std::optional<std::vector<vanmoor::commission::SiteDevice>> LibraryLink::Search() {
    if (!m_Api.search(DeviceSearch::kWaitMilliseconds)) {
        return std::nullopt;
    }
    return ReadSiteDevices(m_Api);
}

bool LibraryLink::Send(const NetSettings& settings) {
    return m_Api.set(settings) == 1;
}

bool LibraryLink::Send(const AuthNetSettings& settings) {
    return m_Api.set_MD5(settings) == 1;
}

} // namespace kestrun
