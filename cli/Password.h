#pragma once

#include "Console.h"

#include <optional>
#include <string>

namespace vanmoor::cli {

// The password for a device's credentials, never from the command line itself (it would show
// in the process list). In order: the first line of `passwordFile` ("-": standard input), the
// environment variable VANMOOR_PASSWORD, a prompt without echo when standard input is a
// terminal. Throws a usage error when none of them gives one.
std::string ReadPassword(const std::optional<std::string>& passwordFile, const Console& console,
                         const std::string& prompt);

} // namespace vanmoor::cli
