#pragma once

#include <string>

namespace vanmoor::cli {

// One line of standard input as UTF-8, without its line end; empty at the end of the input.
std::string ReadInputLine();

} // namespace vanmoor::cli
