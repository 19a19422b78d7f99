#include "CameraReading.h"
#include "CameraSet.h"
#include "Command.h"
#include "DeviceLookup.h"
#include "Password.h"
#include "SettingsChange.h"
#include "SettingsRule.h"
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
        ReadCredentials(arguments, console, "device " + DeviceIdentity(device));
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
                differences = commission::SettingsDifferences(answer, form, port);
            }
        }
    }
    const std::string mac = DeviceIdentity(device);
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

// True when the command would carry anything the device does not already show. With DHCP on the
// addresses still go in the command, so they count here too.
bool ChangesAnything(const DeviceInfo& device, const settings::SettingsForm& form, int port) {
    commission::SiteDevice seen = device;
    settings::SettingsForm strict = form;
    seen.dhcp = strict.dhcp = false;
    return form.dhcp != device.dhcp || !commission::SettingsDifferences(seen, strict, port).empty();
}

// The checks that need the device: the port, a name that its command cannot carry and the
// addresses.
int CheckForm(const settings::SettingsForm& form, const DeviceInfo& device) {
    const settings::FormCheck check = settings::CheckPort(form.portText);
    if (check.problem != FormProblem::None) {
        throw UsageError(ProblemMessage(check.problem));
    }
    if (const FormProblem name = settings::CheckNameFits(form, device.TakesCredentials());
        name != FormProblem::None) {
        throw UsageError(NameProblemMessage(name, form, device.TakesCredentials()));
    }
    if (const auto why = commission::WhySettingsRefused(form.ip, form.netmask, form.gateway)) {
        throw UsageError("new settings refused: " + commission::EnglishText(*why));
    }
    return check.port;
}

// The device the command names: by MAC through the device protocols, or by its endpoint
// reference or address through every protocol.
DeviceInfo NamedDevice(Session& session, const DeviceKey& key) {
    if (key.mac) {
        return FindDevice(session, *key.mac);
    }
    return FindDevice(session, key);
}

} // namespace

// Checks the new settings with the dialog's rules, sends them and searches again to verify.
ExitStatus RunSet(const CommandContext& context) {
    OptionSet options{SettingsOptionNames(), {"--dry-run", "--no-verify"}};
    options.withValue.push_back("--user");
    options.withValue.push_back("--password-file");
    options.switches.push_back("--allow-empty-password");
    options.switches.push_back(kAcceptCertificateOption);
    options.withValue.push_back(kVerifyWaitOption);
    const Arguments arguments(context.words, WithCommonOptions(options));
    const DeviceKey key =
        ParseDeviceArgument(arguments.Single("MAC address, endpoint or IP address"));
    const SettingsChange change = ReadSettingsChange(arguments);
    const OutputFormat format = ChosenFormat(arguments, context.console, OutputFormat::Json);
    const SearchOptions searchOptions = ReadSearchOptions(arguments);

    Session session(context.console, !context.quiet, searchOptions);
    const DeviceInfo device = NamedDevice(session, key);
    if (!device.SpeaksDeviceProtocol()) {
        return SetCamera(context, arguments, device, change, format, session);
    }
    const MacBytes mac = *device.mac;
    settings::SettingsForm form = MakeForm(device, change);
    const int port = CheckForm(form, device);
    if (!ChangesAnything(device, form, port)) {
        // Sending would prove nothing: the search afterwards shows the same settings whether
        // or not the device took the command.
        context.console.err << "device " << settings::MacColonText(mac)
                            << " already has these settings: nothing was sent\n";
        return ExitStatus::Success;
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
        const AuthNetSettings command = settings::MakeAuthNetSettings(form, port, mac);
        record = SettingsRecord(command);
        sent = !dryRun && set_MD5(command) == 1;
    } else {
        const NetSettings command = settings::MakeNetSettings(form, port, mac);
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
    return Verify(session, device, form, port, std::max(searchOptions.rounds, 2), context.console);
}

} // namespace vanmoor::cli
