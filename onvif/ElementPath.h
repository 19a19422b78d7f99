#pragma once

#include "QualifiedName.h"
#include "XmlReader.h"

#include <span>
#include <string_view>
#include <vector>

namespace vanmoor::onvif {

// One step of a path from the document's root: an element's namespace and local name.
struct PathStep {
    std::string_view namespaceUri;
    std::string_view localName;
};

// The elements open at the current point of a document being read, so that a reader can ask
// whether it stands on the path it follows, whatever prefixes the sender chose.
class ElementPath {
public:
    void Enter(wsd::XmlName name) {
        m_open.push_back({std::string(name.namespaceUri), std::string(name.localName)});
    }
    void Leave() { m_open.pop_back(); }

    std::size_t Depth() const { return m_open.size(); }
    // Whether the outermost open elements are `steps`, in order.
    bool StartsWith(std::span<const PathStep> steps) const;
    // The open element at `depth` (0 the root); only below Depth().
    const wsd::QualifiedName& At(std::size_t depth) const { return m_open[depth]; }

private:
    std::vector<wsd::QualifiedName> m_open;
};

} // namespace vanmoor::onvif
