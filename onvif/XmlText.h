#pragma once

#include <string>
#include <string_view>

namespace vanmoor::onvif {

// `text` safe as an element's content or a double-quoted attribute value: &, <, >, " and '
// as entity references. Everything else is copied as it is.
std::string EscapeXml(std::string_view text);

} // namespace vanmoor::onvif
