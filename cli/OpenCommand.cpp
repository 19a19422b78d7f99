#include "Browser.h"
#include "Command.h"
#include "DeviceLookup.h"
#include "SettingsForm.h"

namespace vanmoor::cli {

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
        throw CliError(ExitStatus::Failed, "no browser could open " + *address);
    }
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
