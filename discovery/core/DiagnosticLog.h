#pragma once

#include <atomic>
#include <cstdarg>
#include <string>

namespace vanmoor {

// Writes diagnostic lines to a log file, to the console (standard output) or nowhere, as the
// configuration file LogConfig.txt in the log directory asks. The library and the dialog program
// each keep their own instance, with their own switches and log file.
//
// LogConfig.txt holds one word and one number: "file 1" logs to the file with times, "window 0"
// to the console without. A word starting with "file" or "window" turns that switch on for the
// rest of the process; the number sets the time switch when present.
//
// While both outputs are off a message is not formatted at all: the library logs on paths that
// run once per device, where formatting alone would cost seconds on a large site.
class DiagnosticLog {
public:
    constexpr explicit DiagnosticLog(const char* fileName) noexcept : m_FileName(fileName) {}

    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    // Reads LogConfig.txt; a missing file changes nothing. Switches only ever turn on.
    void ReadLogConfig() noexcept;

    // printf-style. The formatted message is cut to 4095 bytes and written as text, never used
    // as a format again. No lock: concurrent lines may interleave between time and message.
    // The C99 formats (%zu) hold on Windows too: MinGW's C++ library brings its own printf.
    void WriteLog(const char* format, ...) noexcept __attribute__((format(gnu_printf, 2, 3)));
    void WriteLogV(const char* format, va_list args) noexcept
        __attribute__((format(gnu_printf, 2, 0)));

    bool FileSwitch() const noexcept { return m_File.load(); }
    bool WindowSwitch() const noexcept { return m_Window.load(); }
    bool TimeSwitch() const noexcept { return m_Time.load(); }

    // Full path of this instance's log file.
    std::string LogFilePath() const;

    static constexpr int kMessageBufferSize = 4096;

private:
    const char* m_FileName;
    std::atomic<bool> m_File{false};
    std::atomic<bool> m_Window{false};
    std::atomic<bool> m_Time{false};
};

// "hh:mm:ss.mmm  " of the local time, the prefix of every line while the time switch is on.
std::string LogTimeText();

} // namespace vanmoor
