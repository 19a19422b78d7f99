#include "../Browser.h"

#include <windows.h>

#include <shellapi.h>

namespace vanmoor::cli {

// The shell opens an http address with the user's default browser. The browser inherits this
// process's environment, which must not hand it the device password; nothing here needs it.
bool OpenInBrowser(const std::string& address) {
    SetEnvironmentVariableA("VANMOOR_PASSWORD", nullptr);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Values above 32 mean success.
    return result > 32;
}

} // namespace vanmoor::cli
