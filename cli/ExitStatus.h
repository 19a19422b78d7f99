#pragma once

#include <stdexcept>
#include <string>

namespace vanmoor::cli {

// The exit status that scripts test.
enum class ExitStatus {
    Success = 0,
    Failed = 1,      // device not found, verification failed, command not sent
    Usage = 2,       // the command line is wrong
    NoInterface = 3, // no usable local interface
};

// Ends a command with `status`; the message is printed as one line on standard error.
class CliError : public std::runtime_error {
public:
    CliError(ExitStatus status, const std::string& message)
        : std::runtime_error(message), m_Status(status) {}
    ExitStatus Status() const { return m_Status; }

private:
    ExitStatus m_Status;
};

inline CliError UsageError(const std::string& message) {
    return CliError(ExitStatus::Usage, message);
}

} // namespace vanmoor::cli
