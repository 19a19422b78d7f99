#pragma once

#include "XmlReader.h"

namespace vanmoor::wsd {

// The reader over pugixml, which never loads a DTD and expands only the predefined and
// character references; namespaces are resolved here, as pugixml does not.
class PugiXmlReader final : public XmlReader {
public:
    ReadError Read(std::string_view document, std::size_t maxBytes, int maxDepth,
                   XmlHandler& handler) const override;
};

} // namespace vanmoor::wsd
