#include "Command.h"
#include "DeviceLookup.h"
#include "Password.h"
#include "SettingsChange.h"
#include "SettingsVerification.h"
#include "SiteSurvey.h"
#include "Utf8Text.h"
#include "vanmoor.h"

#include <algorithm>

namespace vanmoor::cli {

namespace {

using settings::FormProblem;

// The user name and password for a device that takes them.
void AddCredentials(settings::SettingsForm& form, const Arguments& arguments,
                    const DeviceInfo& device, const Console& console) {
    const UserCredentials credentials =
        ReadCredentials(arguments, console, "device " + settings::MacColonText(device.mac));
    form.user = settings::Utf16FromUtf8(credentials.user);
    form.password = settings::Utf16FromUtf8(credentials.password);
}

// Searches again until the device answers with the new settings or the rounds run out.
ExitStatus Verify(Session& session, const DeviceInfo& device, const settings::SettingsForm& form,
                  int port, int rounds, const Console& console) {
    std::vector<std::string> differences = {"it did not answer"};
    for (int round = 0; round < rounds && !differences.empty(); ++round) {
        for (const DeviceInfo& answer : session.SearchOnce()) {
            if (answer.mac == device.mac) {
                differences = commission::SettingsDifferences(ToSiteDevice(answer), form, port);
            }
        }
    }
    const std::string mac = settings::MacColonText(device.mac);
    if (!differences.empty()) {
        std::string list;
        for (const std::string& difference : differences) {
            list += (list.empty() ? "" : "; ") + difference;
        }
        throw CliError(ExitStatus::Failed,
                       "device " + mac + " did not take the new settings: " + list);
    }
    console.err << "device " << mac << " answers with the new settings\n";
    return ExitStatus::Success;
}

} // namespace

// Checks the new settings with the dialog's rules, sends them and searches again to verify.
ExitStatus RunSet(const CommandContext& context) {
    OptionSet options{SettingsOptionNames(), {"--dry-run", "--no-verify"}};
    options.withValue.push_back("--user");
    options.withValue.push_back("--password-file");
    options.switches.push_back("--allow-empty-password");
    const Arguments arguments(context.words, WithCommonOptions(options));
    const MacBytes mac = ParseMacArgument(arguments.Single("MAC address"));
    const SettingsChange change = ReadSettingsChange(arguments);
    const OutputFormat format = ChosenFormat(arguments, context.console, OutputFormat::Json);
    const SearchOptions searchOptions = ReadSearchOptions(arguments);

    Session session(context.console, !context.quiet, searchOptions);
    const DeviceInfo device = FindDevice(session, mac);
    settings::SettingsForm form = MakeForm(device, change);
    const settings::FormCheck check = settings::CheckSettingsForm(form);
    if (check.problem != FormProblem::None) {
        throw UsageError(ProblemMessage(check.problem));
    }
    if (const FormProblem problem = settings::CheckAddresses(form); problem != FormProblem::None) {
        throw UsageError(ProblemMessage(problem));
    }
    if (device.TakesCredentials()) {
        AddCredentials(form, arguments, device, context.console);
    } else if (arguments.Has("--user") || arguments.Has("--password-file")) {
        context.console.err << "vanmoor: device " << settings::MacColonText(mac)
                            << " answers on port 4022 and takes no credentials; ignored\n";
    }

    Record record;
    bool sent = false;
    const bool dryRun = arguments.Has("--dry-run");
    if (device.TakesCredentials()) {
        const AuthNetSettings command = settings::MakeAuthNetSettings(form, check.port, mac);
        record = SettingsRecord(command);
        sent = !dryRun && set_MD5(command) == 1;
    } else {
        const NetSettings command = settings::MakeNetSettings(form, check.port, mac);
        record = SettingsRecord(command);
        sent = !dryRun && set(command) == 1;
    }
    if (dryRun) {
        PrintRecord(format, context.console.out, "settings", record);
        return ExitStatus::Success;
    }
    if (!sent) {
        throw CliError(ExitStatus::Failed, "the settings command was not sent (--log tells why)");
    }
    if (arguments.Has("--no-verify")) {
        context.console.err << "settings sent to " << settings::MacColonText(mac) << '\n';
        return ExitStatus::Success;
    }
    return Verify(session, device, form, check.port, std::max(searchOptions.rounds, 2),
                  context.console);
}

} // namespace vanmoor::cli
