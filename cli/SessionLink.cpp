#include "SessionLink.h"

#include "SiteSurvey.h"

namespace vanmoor::cli {

std::vector<commission::SiteDevice> SessionLink::Search() {
    return ToSiteDevices(m_Session.Search());
}

bool SessionLink::Send(const NetSettings& settings) {
    return set(settings) == 1;
}

bool SessionLink::Send(const AuthNetSettings& settings) {
    return set_MD5(settings) == 1;
}

} // namespace vanmoor::cli
