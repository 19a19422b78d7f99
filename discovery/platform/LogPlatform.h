#pragma once

#include <string>

namespace vanmoor::platform {

// Directory of LogConfig.txt and the log files: $VANMOOR_LOG_DIR when set, else
// ${XDG_CONFIG_HOME:-$HOME/.config}/vanmoor. Empty when none of these is known.
std::string LogDirectory();

// Joins a directory and a file name with the platform's separator.
std::string JoinPath(const std::string& directory, const char* fileName);

struct LocalClockTime {
    int hour;
    int minute;
    int second;
    int millisecond;
};

LocalClockTime LocalTimeNow();

// Makes sure console lines can be seen. The process's standard output is the console here.
void OpenConsole();

} // namespace vanmoor::platform
