#pragma once

#include "Console.h"

#include <string>
#include <vector>

namespace vanmoor::cli {

// The whole program: `arguments` without the program name. Returns the exit status. Everything
// it writes goes to the console's streams, so tests can run it in-process.
int RunCli(const std::vector<std::string>& arguments, const Console& console);

} // namespace vanmoor::cli
