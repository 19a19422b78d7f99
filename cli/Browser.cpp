#include "Browser.h"

#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace vanmoor::cli {

namespace {

// This process's environment without the device password: the browser and whatever it starts
// have no business with it.
std::vector<char*> EnvironmentWithoutPassword() {
    std::vector<char*> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!std::string_view(*entry).starts_with("VANMOOR_PASSWORD=")) {
            entries.push_back(*entry);
        }
    }
    entries.push_back(nullptr);
    return entries;
}

} // namespace

// Runs the desktop's opener on `address` without a shell and waits for it.
bool OpenInBrowser(const std::string& address) {
    std::string program = "xdg-open";
    std::string argument = address;
    char* argv[] = {program.data(), argument.data(), nullptr};
    std::vector<char*> environment = EnvironmentWithoutPassword();
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environment.data()) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace vanmoor::cli
