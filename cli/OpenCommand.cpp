#include "Command.h"
#include "DeviceLookup.h"
#include "SettingsForm.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vanmoor::cli {

namespace {

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

} // namespace

// The device's web page, with the dialog's rules for its address and port.
ExitStatus RunOpen(const CommandContext& context) {
    OptionSet options;
    options.switches.push_back("--print");
    const Arguments arguments(context.words, WithCommonOptions(options));
    const MacBytes mac = ParseMacArgument(arguments.Single("MAC address"));
    Session session(context.console, !context.quiet, ReadSearchOptions(arguments));
    const DeviceInfo device = FindDevice(session, mac);
    const std::optional<std::string> address = settings::WebAddress(device.ip, device.port);
    if (!address) {
        throw CliError(ExitStatus::Failed, "device " + settings::MacColonText(mac) +
                                               " has the port " + std::to_string(device.port) +
                                               ", outside 0..65535: no web page to open");
    }
    if (arguments.Has("--print")) {
        context.console.out << *address << '\n';
        return ExitStatus::Success;
    }
    if (!OpenInBrowser(*address)) {
        throw CliError(ExitStatus::Failed, "xdg-open could not open " + *address);
    }
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
