#include "../LogPlatform.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace vanmoor::platform {

std::string LogDirectory() {
    if (const char* dir = std::getenv("VANMOOR_LOG_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    // The places Windows callers know: C:\LogConfig.txt, C:\Log.txt and C:\Quillon.txt.
    return "C:\\";
}

std::string JoinPath(const std::string& directory, const char* fileName) {
    if (directory.empty()) {
        return fileName;
    }
    const char last = directory.back();
    if (last == '\\' || last == '/') {
        return directory + fileName;
    }
    return directory + "\\" + fileName;
}

LocalClockTime LocalTimeNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void OpenConsole() {
    // A program started from a console keeps it; any other gets a new console window, and its
    // standard output goes there.
    if (AllocConsole() != 0) {
        [[maybe_unused]] std::FILE* console = std::freopen("CONOUT$", "w", stdout);
    }
}

} // namespace vanmoor::platform
