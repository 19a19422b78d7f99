#pragma once

#include <string>
#include <string_view>

namespace vanmoor::devsim {

// Text made safe for XML element content and double-quoted attributes.
std::string Escaped(std::string_view text);

// Every byte but letters, digits and -._~ as %XX, as the name scope carries a device's name.
std::string PercentEncoded(std::string_view text);
// %XX sequences back to their bytes; other text as it is.
std::string PercentDecoded(std::string_view text);

} // namespace vanmoor::devsim
