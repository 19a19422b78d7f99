#pragma once

#include <optional>
#include <string>

namespace vanmoor::cli {

// The value of the environment variable `name` as UTF-8, or nothing when it is not set.
std::optional<std::string> EnvironmentValue(const char* name);

} // namespace vanmoor::cli
