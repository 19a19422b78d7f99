#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrun {

// What the program prints for --help or --version, read from its arguments before any window
// system is touched, so that both work on a host without a display. None: start the dialog.
// The first of the two options given wins; Qt's own options (such as -platform NAME) pass.
std::optional<std::string> EarlyAnswer(const std::vector<std::string>& arguments,
                                       const std::string& version);

} // namespace kestrun
