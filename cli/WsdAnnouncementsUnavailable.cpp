#include "ExitStatus.h"
#include "WsdAnnouncements.h"

// The build for a platform whose WS-Discovery layer is not built: the protocol is refused.
namespace vanmoor::cli {

struct WsdAnnouncements::Listening {};

WsdAnnouncements::WsdAnnouncements(std::vector<std::string>) {
    throw CliError(ExitStatus::Failed, "this build of vanmoor has no WS-Discovery");
}

WsdAnnouncements::~WsdAnnouncements() = default;

std::vector<WsdAnnouncements::Announcement> WsdAnnouncements::Poll(std::chrono::milliseconds) {
    return {};
}

void WsdAnnouncements::ListenOn(std::vector<std::string>) {}

std::size_t WsdAnnouncements::Lost() const {
    return 0;
}

} // namespace vanmoor::cli
