#pragma once

#include <string>

namespace vanmoor::cli {

// Opens `address` in the desktop's default browser; false when that could not be started.
bool OpenInBrowser(const std::string& address);

} // namespace vanmoor::cli
