#include "BatchAssign.h"
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

// Which devices to re-address: the MACs of --mac in their order, or a rule over the search.
struct Choice {
    std::vector<MacBytes> macs; // --mac
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
        for (std::string mac; std::getline(in, mac, ',');) {
            if (IsEndpointReference(mac)) {
                throw UsageError("--mac names devices by MAC, not '" + mac +
                                 "': a device found by WS-Discovery alone takes no settings "
                                 "command; its settings change through its own web page");
            }
            choice.macs.push_back(ParseMacArgument(mac));
        }
    }
    if (int(!choice.macs.empty()) + int(choice.all) + int(choice.conflicts) != 1) {
        throw UsageError("choose the devices with exactly one of --mac, --all, --conflicts");
    }
    return choice;
}

// The chosen devices that answered, in order, and the MACs of --mac that did not.
std::vector<SiteDevice> Chosen(const Choice& choice, const std::vector<SiteDevice>& site,
                               const std::vector<commission::HostAddress>& host,
                               std::vector<MacBytes>& missing) {
    std::vector<SiteDevice> chosen;
    for (const MacBytes& mac : choice.macs) {
        const auto found = std::find_if(
            site.begin(), site.end(), [&](const SiteDevice& device) { return device.mac == mac; });
        if (found == site.end()) {
            missing.push_back(mac);
        } else if (std::none_of(chosen.begin(), chosen.end(),
                                [&](const SiteDevice& device) { return device.mac == mac; })) {
            chosen.push_back(*found);
        }
    }
    if (!choice.macs.empty()) {
        return chosen;
    }
    const std::vector<commission::Finding> findings =
        choice.conflicts ? commission::CheckSite(site, host) : std::vector<commission::Finding>{};
    for (const SiteDevice& device : site) {
        if (choice.all || commission::HasErrorFor(findings, device.MacOrZero())) {
            chosen.push_back(device);
        }
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const SiteDevice& a, const SiteDevice& b) { return a.mac < b.mac; });
    return chosen;
}

Record PlanRecord(const PlannedDevice& planned) {
    return {{"mac", DeviceIdentity(planned.device)},
            {"ip", settings::DottedText(planned.device.ip)},
            {"planned_ip", settings::DottedText(planned.ip)},
            {"netmask", settings::DottedText(planned.netmask)},
            {"gateway", settings::DottedText(planned.gateway)},
            {"name", planned.name},
            {"reachable", !planned.outOfReach}};
}

Record OutcomeRecord(const AssignOutcome& outcome) {
    return {{"mac", DeviceIdentity(outcome.planned.device)},
            {"name", outcome.planned.name},
            {"planned_ip", settings::DottedText(outcome.planned.ip)},
            {"result", std::string(commission::AssignResultText(outcome.result))},
            {"final_ip",
             outcome.finalAddress ? Value{settings::DottedText(*outcome.finalAddress)} : Value{}},
            {"sends", static_cast<long long>(outcome.sends)},
            {"reachable", !outcome.planned.outOfReach}};
}

commission::CredentialsBook CredentialsFor(const std::vector<PlannedDevice>& plan,
                                           const Arguments& arguments, const Console& console) {
    const bool needed = std::any_of(plan.begin(), plan.end(), [](const PlannedDevice& planned) {
        return planned.device.TakesCredentials();
    });
    if (!needed) {
        return {};
    }
    UserCredentials credentials = ReadCredentials(arguments, console, "a chosen device");
    return commission::CredentialsBook::ForEveryDevice(
        {std::move(credentials.user), std::move(credentials.password)});
}

} // namespace

// Plans addresses for the chosen devices, sends them, verifies by searching again and resends
// to those that do not show them yet; one report row per device.
ExitStatus RunAssign(const CommandContext& context) {
    const Arguments arguments(
        context.words,
        WithCommonOptions({{"--from", "--netmask", "--gateway", "--dns1", "--dns2", "--mac",
                            "--name-pattern", "--retries", "--user", "--password-file"},
                           {"--all", "--conflicts", "--dry-run", "--allow-other-subnet",
                            "--allow-empty-password"}}));
    arguments.NoPositionals();
    const commission::PlanRequest request = ReadPlanRequest(arguments);
    const Choice choice = ReadChoice(arguments);
    const int retries = arguments.Integer("--retries", 2, 0, 100);
    const OutputFormat format = ChosenFormat(arguments, context.console, OutputFormat::Json);

    // The site's search takes in the cameras found by WS-Discovery alone: they take no address
    // from the plan, but the addresses they hold are taken. The batch's searches that follow
    // look for its devices by MAC, through the device protocols alone.
    Session session(context.console, !context.quiet, ReadSearchOptions(arguments));
    const std::vector<SiteDevice> site = session.Search();
    const std::vector<commission::HostAddress> host = HostAddresses(session);
    std::vector<MacBytes> missing;
    const std::vector<SiteDevice> chosen = Chosen(choice, site, host, missing);
    std::vector<PlannedDevice> plan;
    try {
        plan = commission::PlanAddresses(chosen, site, host, request);
    } catch (const commission::PlanError& error) {
        throw UsageError(error.what());
    }

    auto printer = MakePrinter(format, context.console.out);
    if (arguments.Has("--dry-run")) {
        printer->Begin("plan",
                       {"mac", "ip", "planned_ip", "netmask", "gateway", "name", "reachable"});
        for (const PlannedDevice& planned : plan) {
            printer->Row(PlanRecord(planned));
        }
        printer->End();
        return ExitStatus::Success;
    }

    const bool showProgress = !context.quiet && context.console.errIsTerminal;
    SessionLink link(session);
    commission::BatchAssign batch(link, CredentialsFor(plan, arguments, context.console), retries);
    const std::vector<AssignOutcome> outcomes =
        batch.Apply(plan, [&](const AssignOutcome& outcome, std::size_t done, std::size_t total) {
            if (showProgress) {
                context.console.err << '[' << done << '/' << total << "] "
                                    << DeviceIdentity(outcome.planned.device) << ' '
                                    << commission::AssignResultText(outcome.result) << '\n';
            }
        });

    printer->Begin("devices",
                   {"mac", "name", "planned_ip", "result", "final_ip", "sends", "reachable"});
    bool allChanged = missing.empty();
    for (const AssignOutcome& outcome : outcomes) {
        printer->Row(OutcomeRecord(outcome));
        allChanged = allChanged && outcome.result == commission::AssignResult::Changed;
    }
    for (const MacBytes& mac : missing) {
        printer->Row({{"mac", settings::MacColonText(mac)},
                      {"name", Value{}},
                      {"planned_ip", Value{}},
                      {"result", std::string("not found")},
                      {"final_ip", Value{}},
                      {"sends", 0LL},
                      {"reachable", Value{}}});
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
