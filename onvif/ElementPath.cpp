#include "ElementPath.h"

namespace vanmoor::onvif {

bool ElementPath::StartsWith(std::span<const PathStep> steps) const {
    if (steps.size() > m_open.size()) {
        return false;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (m_open[i].namespaceUri != steps[i].namespaceUri ||
            m_open[i].localName != steps[i].localName) {
            return false;
        }
    }
    return true;
}

} // namespace vanmoor::onvif
