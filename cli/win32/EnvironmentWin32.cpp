#include "../Environment.h"

#include "WideText.h"

#include <cstdlib>

namespace vanmoor::cli {

// The narrow environment is in the ANSI code page, which cannot hold most characters: read the
// wide one.
std::optional<std::string> EnvironmentValue(const char* name) {
    if (const wchar_t* value = _wgetenv(WideFromUtf8(name).c_str())) {
        return Utf8FromWide(value);
    }
    return std::nullopt;
}

} // namespace vanmoor::cli
