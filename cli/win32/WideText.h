#pragma once

#include <string>
#include <string_view>

namespace vanmoor::cli {

// Windows hands arguments, environment values, console input and file names over as UTF-16;
// the program keeps UTF-8 throughout. Malformed input becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

} // namespace vanmoor::cli
