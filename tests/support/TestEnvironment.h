#pragma once

#include <string>

namespace vanmoor::test {

// A new, empty directory in the system's temporary folder, its name starting with `prefix`.
// Throws std::runtime_error when none can be made.
std::string MakeTempDirectory(const std::string& prefix);

// Sets an environment variable of this process; an empty value removes it.
void SetVariable(const std::string& name, const std::string& value);

// Sets VANMOOR_LOG_DIR for this process; an empty value removes it.
void SetLogDirVariable(const std::string& value);

} // namespace vanmoor::test
