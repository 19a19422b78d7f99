#pragma once

#include <optional>
#include <string>

namespace kestrun::win32 {

// Writes `bytes` to a temporary file beside `path` (UTF-8) and moves it over `path`, so that the
// file is replaced whole or not at all. Returns the reason when it could not.
std::optional<std::u16string> WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace kestrun::win32
