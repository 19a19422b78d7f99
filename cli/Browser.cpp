#include "Browser.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vanmoor::cli {

// Runs the desktop's opener on `address` without a shell and waits for it.
bool OpenInBrowser(const std::string& address) {
    std::string program = "xdg-open";
    std::string argument = address;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace vanmoor::cli
