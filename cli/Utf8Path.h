#pragma once

#include <filesystem>
#include <string>

namespace vanmoor::cli {

// A file name given as UTF-8. A plain narrow string would be read in the ANSI code page on
// Windows; elsewhere the bytes stay as they are.
inline std::filesystem::path PathFromUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

} // namespace vanmoor::cli
