#include "PlatformXmlReader.h"

#ifdef _WIN32
#include "XmlLiteReader.h"
#else
#include "PugiXmlReader.h"
#endif

namespace vanmoor::wsd {

std::unique_ptr<XmlReader> MakeXmlReader() {
#ifdef _WIN32
    return std::make_unique<XmlLiteReader>();
#else
    return std::make_unique<PugiXmlReader>();
#endif
}

} // namespace vanmoor::wsd
