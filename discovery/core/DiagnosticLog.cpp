#include "DiagnosticLog.h"

#include "../platform/LogPlatform.h"

#include <cstdio>
#include <cstring>

namespace vanmoor {

namespace {

constexpr const char* kConfigFileName = "LogConfig.txt";

} // namespace

std::string LogTimeText() {
    const platform::LocalClockTime t = platform::LocalTimeNow();
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d  ", t.hour, t.minute, t.second,
                  t.millisecond);
    return text;
}

std::string DiagnosticLog::LogFilePath() const {
    return platform::JoinPath(platform::LogDirectory(), m_FileName);
}

void DiagnosticLog::ReadLogConfig() noexcept {
    try {
        const std::string path = platform::JoinPath(platform::LogDirectory(), kConfigFileName);
        if (std::FILE* file = std::fopen(path.c_str(), "r")) {
            char word[16] = {};
            int number = 0;
            const int fields = std::fscanf(file, "%15s %d", word, &number);
            std::fclose(file);
            if (fields >= 1) {
                if (std::strncmp(word, "file", 4) == 0) {
                    m_File = true;
                }
                if (std::strncmp(word, "window", 6) == 0) {
                    m_Window = true;
                }
            }
            if (fields == 2) {
                m_Time = number != 0;
            }
        }
        if (m_Window) {
            platform::OpenConsole();
        }
    } catch (...) {
        // Logging is diagnosis only; a failure to configure it leaves the switches as they were.
    }
}

void DiagnosticLog::WriteLog(const char* format, ...) noexcept {
    va_list args;
    va_start(args, format);
    WriteLogV(format, args);
    va_end(args);
}

void DiagnosticLog::WriteLogV(const char* format, va_list args) noexcept {
    const bool toFile = m_File;
    const bool toWindow = m_Window;
    if (!toFile && !toWindow) {
        return;
    }
    try {
        const bool withTime = m_Time;
        const std::string time = withTime ? LogTimeText() : std::string();
        char message[kMessageBufferSize];
        if (std::vsnprintf(message, sizeof message, format, args) < 0) {
            message[0] = '\0';
        }

        if (toFile) {
            if (std::FILE* file = std::fopen(LogFilePath().c_str(), "a+")) {
                if (withTime) {
                    std::fputs(time.c_str(), file);
                }
                std::fputs(message, file);
                std::fclose(file);
            }
        } else if (toWindow) {
            if (withTime) {
                std::printf("%s  ", time.c_str());
            }
            std::fputs(message, stdout);
            std::fflush(stdout);
        }
    } catch (...) {
        // A line that cannot be written is dropped.
    }
}

} // namespace vanmoor
