#include "BatchAssign.h"
#include "CameraBatch.h"
#include "CameraReading.h"
#include "CameraSet.h"
#include "Command.h"
#include "DeviceLookup.h"
#include "Password.h"
#include "SessionLink.h"
#include "SiteCheck.h"
#include "SiteSurvey.h"
#include "Utf8Text.h"

#include <algorithm>
#include <sstream>

namespace vanmoor::cli {

namespace {

using commission::AssignOutcome;
using commission::PlannedDevice;
using commission::SiteDevice;

// Which devices to re-address: the MACs or endpoint references of --mac in their order, or a
// rule over the search.
struct Choice {
    std::vector<DeviceKey> keys; // --mac
    bool all = false;
    bool conflicts = false;
};

Ipv4Octets AddressOption(const Arguments& arguments, const std::string& option) {
    const std::optional<std::string> text = arguments.Value(option);
    const std::optional<Ipv4Octets> octets =
        text ? settings::ParseDottedAddress(*text) : std::nullopt;
    if (!octets) {
        throw UsageError(option + " needs an address like 192.0.2.10");
    }
    return *octets;
}

std::optional<Ipv4Octets> OptionalAddress(const Arguments& arguments, const std::string& option) {
    return arguments.Has(option) ? std::optional(AddressOption(arguments, option)) : std::nullopt;
}

commission::PlanRequest ReadPlanRequest(const Arguments& arguments) {
    commission::PlanRequest request;
    request.first = AddressOption(arguments, "--from");
    request.netmask = AddressOption(arguments, "--netmask");
    request.gateway = OptionalAddress(arguments, "--gateway");
    request.dns1 = OptionalAddress(arguments, "--dns1");
    request.dns2 = OptionalAddress(arguments, "--dns2");
    request.namePattern = arguments.Value("--name-pattern");
    request.allowOtherSubnet = arguments.Has("--allow-other-subnet");
    return request;
}

Choice ReadChoice(const Arguments& arguments) {
    Choice choice;
    choice.all = arguments.Has("--all");
    choice.conflicts = arguments.Has("--conflicts");
    if (const auto list = arguments.Value("--mac")) {
        std::istringstream in(*list);
        for (std::string key; std::getline(in, key, ',');) {
            if (IsEndpointReference(key)) {
                choice.keys.push_back({std::nullopt, key, std::nullopt});
            } else {
                choice.keys.push_back({ParseMacArgument(key), {}, std::nullopt});
            }
        }
    }
    if (int(!choice.keys.empty()) + int(choice.all) + int(choice.conflicts) != 1) {
        throw UsageError("choose the devices with exactly one of --mac, --all, --conflicts");
    }
    return choice;
}

// The chosen devices that answered, in order, and the devices of --mac that did not.
std::vector<SiteDevice> Chosen(const Choice& choice, const std::vector<SiteDevice>& site,
                               const std::vector<commission::HostAddress>& host,
                               std::vector<std::string>& missing) {
    std::vector<SiteDevice> chosen;
    for (const DeviceKey& key : choice.keys) {
        const auto names = [&](const SiteDevice& device) { return Matches(device, key); };
        const auto found = std::find_if(site.begin(), site.end(), names);
        if (found == site.end()) {
            missing.push_back(key.mac ? settings::MacColonText(*key.mac) : key.endpoint);
        } else if (std::none_of(chosen.begin(), chosen.end(), [&](const SiteDevice& device) {
                       return DeviceIdentity(device) == DeviceIdentity(*found);
                   })) {
            chosen.push_back(*found);
        }
    }
    if (!choice.keys.empty()) {
        return chosen;
    }
    const std::vector<commission::Finding> findings =
        choice.conflicts ? commission::CheckSite(site, host) : std::vector<commission::Finding>{};
    for (const SiteDevice& device : site) {
        if (choice.all || (device.mac && commission::HasErrorFor(findings, *device.mac))) {
            chosen.push_back(device);
        }
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const SiteDevice& a, const SiteDevice& b) { return a.mac < b.mac; });
    return chosen;
}

Value EndpointValue(const SiteDevice& device) {
    return device.wsd ? Value{device.wsd->endpoint} : Value{};
}

Record PlanRecord(const PlannedDevice& planned) {
    return {{"mac", DeviceIdentity(planned.device)},
            {"ip", settings::DottedText(planned.device.ip)},
            {"planned_ip", settings::DottedText(planned.ip)},
            {"netmask", settings::DottedText(planned.netmask)},
            {"gateway", settings::DottedText(planned.gateway)},
            {"name", planned.name},
            {"reachable", !planned.outOfReach},
            {"endpoint", EndpointValue(planned.device)}};
}

// One device's report row; `planned` false for a camera that could not be read.
Record OutcomeRecord(const AssignOutcome& outcome, bool planned) {
    return {{"mac", DeviceIdentity(outcome.planned.device)},
            {"name", planned ? Value{outcome.planned.name} : Value{}},
            {"planned_ip", planned ? Value{settings::DottedText(outcome.planned.ip)} : Value{}},
            {"result", std::string(commission::AssignResultText(outcome.result))},
            {"final_ip",
             outcome.finalAddress ? Value{settings::DottedText(*outcome.finalAddress)} : Value{}},
            {"sends", static_cast<long long>(outcome.sends)},
            {"reachable", planned ? Value{!outcome.planned.outOfReach} : Value{}},
            {"endpoint", EndpointValue(outcome.planned.device)},
            {"detail", outcome.detail.empty() ? Value{} : Value{outcome.detail}}};
}

// Reads the cameras that `book` has credentials for into their records, and says how many
// cameras were left out for want of credentials.
std::vector<commission::CameraRead> ReadSiteCameras(std::vector<SiteDevice>& site,
                                                    const commission::CredentialsBook& book,
                                                    const commission::CameraBatchOptions& options,
                                                    const CommandContext& context) {
    const std::size_t without = commission::CamerasWithoutCredentials(site, book);
    if (without > 0) {
        context.console.err << "vanmoor: " << without
                            << (without == 1 ? " camera was" : " cameras were")
                            << " left out for want of credentials (--user or --credentials-file)\n";
    }
    if (book.Empty()) {
        return {};
    }
    return commission::ReadCameras(
        site, book, options,
        [&](const SiteDevice& camera, const commission::CameraRead& read, std::size_t done,
            std::size_t total) {
            if (!context.quiet) {
                context.console.err
                    << '[' << done << '/' << total << "] read " << DeviceIdentity(camera) << ": "
                    << (read.end == commission::CameraReadEnd::Read ? "done" : read.detail) << '\n';
            }
        });
}

// The chosen cameras that could not be read: reported, never planned.
std::vector<AssignOutcome> UnreadChosen(const std::vector<SiteDevice>& chosen,
                                        const std::vector<commission::CameraRead>& reads) {
    std::vector<AssignOutcome> unread;
    for (const SiteDevice& device : chosen) {
        if (device.SettingsKnown() || !device.wsd) {
            continue;
        }
        const auto read = std::find_if(reads.begin(), reads.end(), [&](const auto& tried) {
            return tried.access.endpoint == device.wsd->endpoint;
        });
        if (read != reads.end()) {
            unread.push_back(commission::UnreadOutcome(device, *read));
        }
    }
    return unread;
}

// Asks for --user where a chosen device takes credentials and none were given.
commission::CredentialsBook CredentialsFor(const std::vector<PlannedDevice>& plan,
                                           commission::CredentialsBook book,
                                           const Arguments& arguments, const Console& console) {
    const bool needed = std::any_of(plan.begin(), plan.end(), [](const PlannedDevice& planned) {
        return planned.device.TakesCredentials();
    });
    if (!needed || !book.Empty()) {
        return book;
    }
    UserCredentials credentials = ReadCredentials(arguments, console, "a chosen device");
    return commission::CredentialsBook::ForEveryDevice(
        {std::move(credentials.user), std::move(credentials.password)});
}

Record MissingRecord(const std::string& key) {
    return {{"mac", key},
            {"name", Value{}},
            {"planned_ip", Value{}},
            {"result", std::string("not found")},
            {"final_ip", Value{}},
            {"sends", 0LL},
            {"reachable", Value{}},
            {"endpoint", Value{}},
            {"detail", Value{}}};
}

} // namespace

// Reads the cameras it has credentials for, plans addresses for the chosen devices, sends them,
// verifies by searching again (cameras through their device service) and resends to those that
// do not show them yet; one report row per device.
ExitStatus RunAssign(const CommandContext& context) {
    const Arguments arguments(
        context.words,
        WithCommonOptions({{"--from", "--netmask", "--gateway", "--dns1", "--dns2", "--mac",
                            "--name-pattern", "--retries", "--user", "--password-file",
                            "--credentials-file", kVerifyWaitOption, "--concurrency"},
                           {"--all", "--conflicts", "--dry-run", "--allow-other-subnet",
                            "--allow-empty-password", kAcceptCertificateOption}}));
    arguments.NoPositionals();
    const commission::PlanRequest request = ReadPlanRequest(arguments);
    const Choice choice = ReadChoice(arguments);
    const int retries = arguments.Integer("--retries", 2, 0, 100);
    const OutputFormat format = ChosenFormat(arguments, context.console, OutputFormat::Json);
    commission::CameraBatchOptions cameraOptions;
    cameraOptions.concurrency = arguments.Integer("--concurrency", 8, 1, 64);
    cameraOptions.verifyWait = VerifyWait(arguments);
    cameraOptions.transport = ReadTransportOptions(arguments);
    commission::CredentialsBook book =
        ReadCredentialsBook(arguments, context.console, "the chosen devices");

    // The cameras found by WS-Discovery alone that there are credentials for are read first,
    // and then planned like every other device; those not read take no address, but the
    // addresses they hold are taken. The batch's searches that follow look for the other
    // devices by MAC, through the device protocols alone.
    Session session(context.console, !context.quiet, ReadSearchOptions(arguments));
    std::vector<SiteDevice> site = session.Search();
    const std::vector<commission::HostAddress> host = HostAddresses(session);
    cameraOptions.watchAddresses = session.SearchedAddresses();
    const std::vector<commission::CameraRead> reads =
        ReadSiteCameras(site, book, cameraOptions, context);
    std::vector<std::string> missing;
    const std::vector<SiteDevice> chosen = Chosen(choice, site, host, missing);
    const std::vector<AssignOutcome> unread = UnreadChosen(chosen, reads);
    std::vector<PlannedDevice> plan;
    try {
        plan = commission::PlanAddresses(chosen, site, host, request);
    } catch (const commission::PlanError& error) {
        throw UsageError(error.what());
    }

    auto printer = MakePrinter(format, context.console.out);
    if (arguments.Has("--dry-run")) {
        printer->Begin("plan", {"mac", "ip", "planned_ip", "netmask", "gateway", "name",
                                "reachable", "endpoint"});
        for (const PlannedDevice& planned : plan) {
            printer->Row(PlanRecord(planned));
        }
        printer->End();
        return ExitStatus::Success;
    }

    const bool showProgress = !context.quiet && context.console.errIsTerminal;
    SessionLink link(session);
    book = CredentialsFor(plan, std::move(book), arguments, context.console);
    // Cameras report from their own threads while the searches run: a search's progress line
    // would be drawn through their lines.
    if (std::any_of(plan.begin(), plan.end(), [](const PlannedDevice& planned) {
            return !planned.device.SpeaksDeviceProtocol();
        })) {
        session.ShowProgress(false);
    }
    const std::vector<AssignOutcome> outcomes = commission::ApplyPlan(
        link, plan, reads, book, retries, cameraOptions,
        [&](const AssignOutcome& outcome, std::size_t done, std::size_t total) {
            if (showProgress) {
                context.console.err << '[' << done << '/' << total << "] "
                                    << DeviceIdentity(outcome.planned.device) << ' '
                                    << commission::AssignResultText(outcome.result) << '\n';
            }
        });

    printer->Begin("devices", {"mac", "name", "planned_ip", "result", "final_ip", "sends",
                               "reachable", "endpoint", "detail"});
    bool allChanged = missing.empty() && unread.empty();
    for (const AssignOutcome& outcome : outcomes) {
        printer->Row(OutcomeRecord(outcome, true));
        allChanged = allChanged && outcome.result == commission::AssignResult::Changed;
    }
    for (const AssignOutcome& outcome : unread) {
        printer->Row(OutcomeRecord(outcome, false));
    }
    for (const std::string& key : missing) {
        printer->Row(MissingRecord(key));
    }
    printer->End();
    for (const AssignOutcome& outcome : outcomes) {
        if (outcome.planned.outOfReach && outcome.result == commission::AssignResult::Changed) {
            context.console.err << "vanmoor: device " << DeviceIdentity(outcome.planned.device)
                                << " is now at " << settings::DottedText(outcome.planned.ip)
                                << ", which this host cannot reach\n";
        }
    }
    return allChanged ? ExitStatus::Success : ExitStatus::Failed;
}

} // namespace vanmoor::cli
