#pragma once

#include "NamespaceStack.h"
#include "ReadError.h"

#include <cstddef>
#include <string_view>

namespace vanmoor::wsd {

// An element name with its prefix resolved.
struct XmlName {
    std::string_view namespaceUri;
    std::string_view localName;
};

// Receives a document's elements and texts in document order. `scope` holds the declarations
// in force at the element, for QName texts.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void StartElement(XmlName name, const NamespaceStack& scope) = 0;
    // Each attribute of the element just started, after StartElement and before anything
    // inside it; namespace declarations are not among them. An attribute without a prefix has
    // no namespace. Handlers that need no attributes leave this as it is.
    virtual void Attribute(XmlName /*name*/, std::string_view /*value*/) {}
    virtual void Text(std::string_view text) = 0;
    virtual void EndElement(const NamespaceStack& scope) = 0;
};

// Reads one untrusted document with no DTD and no entity expansion: a document type
// declaration is refused, and so are documents over `maxBytes` or nested deeper than
// `maxDepth`. One implementation per XML parser of a platform; all behave alike. On an error
// the handler may have seen part of the document and its result is to be thrown away.
class XmlReader {
public:
    virtual ~XmlReader() = default;
    virtual ReadError Read(std::string_view document, std::size_t maxBytes, int maxDepth,
                           XmlHandler& handler) const = 0;
};

} // namespace vanmoor::wsd
