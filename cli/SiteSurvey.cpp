#include "SiteSurvey.h"

#include "InterfaceList.h"

namespace vanmoor::cli {

std::vector<commission::HostAddress> HostAddresses(const Session& session) {
    return commission::HostAddressesOf(session.LocalAddresses());
}

} // namespace vanmoor::cli
