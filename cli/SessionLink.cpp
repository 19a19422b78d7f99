#include "SessionLink.h"

#include "ExitStatus.h"
#include "SiteSurvey.h"

namespace vanmoor::cli {

std::optional<std::vector<commission::SiteDevice>> SessionLink::Search() {
    try {
        return m_Session.SearchDeviceProtocols();
    } catch (const CliError&) {
        return std::nullopt;
    }
}

bool SessionLink::Send(const NetSettings& settings) {
    return set(settings) == 1;
}

bool SessionLink::Send(const AuthNetSettings& settings) {
    return set_MD5(settings) == 1;
}

} // namespace vanmoor::cli
