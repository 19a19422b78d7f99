#include "LogPlatform.h"

#include <chrono>
#include <cstdlib>
#include <ctime>

namespace vanmoor::platform {

std::string LogDirectory() {
    if (const char* dir = std::getenv("VANMOOR_LOG_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        return std::string(config) + "/vanmoor";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::string(home) + "/.config/vanmoor";
    }
    return {};
}

std::string JoinPath(const std::string& directory, const char* fileName) {
    if (directory.empty()) {
        return fileName;
    }
    return directory + "/" + fileName;
}

LocalClockTime LocalTimeNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis)};
}

void OpenConsole() {
    // A terminal program's standard output already is its console.
}

} // namespace vanmoor::platform
