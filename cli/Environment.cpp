#include "Environment.h"

#include <cstdlib>

namespace vanmoor::cli {

std::optional<std::string> EnvironmentValue(const char* name) {
    if (const char* value = std::getenv(name)) {
        return value;
    }
    return std::nullopt;
}

} // namespace vanmoor::cli
