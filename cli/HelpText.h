#pragma once

#include <string>

namespace vanmoor::cli {

// The --help text of `command`; "" is the program's own. Null for an unknown command.
const char* HelpText(const std::string& command);

} // namespace vanmoor::cli
