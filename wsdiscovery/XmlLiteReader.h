#pragma once

#include "XmlReader.h"

namespace vanmoor::wsd {

// The reader over Windows' XmlLite, with DTD processing prohibited; XmlLite hands out UTF-16,
// which is given on as UTF-8. Namespaces are resolved here, as for the other readers, so
// that every platform reads the same names.
class XmlLiteReader final : public XmlReader {
public:
    ReadError Read(std::string_view document, std::size_t maxBytes, int maxDepth,
                   XmlHandler& handler) const override;
};

} // namespace vanmoor::wsd
