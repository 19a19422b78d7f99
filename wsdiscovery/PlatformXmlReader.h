#pragma once

#include "XmlReader.h"

#include <memory>

namespace vanmoor::wsd {

// The reader over the XML parser of the platform: XmlLite on Windows, pugixml elsewhere.
std::unique_ptr<XmlReader> MakeXmlReader();

} // namespace vanmoor::wsd
