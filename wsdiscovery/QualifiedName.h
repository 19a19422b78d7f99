#pragma once

#include <string>

namespace vanmoor::wsd {

// An XML name as the protocol compares it: namespace URI and local name, never the prefix.
struct QualifiedName {
    std::string namespaceUri;
    std::string localName;

    bool operator==(const QualifiedName&) const = default;
};

} // namespace vanmoor::wsd
