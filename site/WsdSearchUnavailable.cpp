#include "WsdSearch.h"

// The build for a platform whose WS-Discovery layer is not built: nothing is searched.
namespace vanmoor::site {

bool WsdSearch::Available() {
    return false;
}

WsdSearch::WsdSearch(Options) {}

WsdSearch::~WsdSearch() = default;

std::vector<SiteDevice> WsdSearch::Devices() {
    return {};
}

} // namespace vanmoor::site
