#include "CameraSet.h"

#include "CameraChange.h"
#include "CameraReading.h"
#include "DeviceLookup.h"
#include "SettingsForm.h"
#include "Utf8Text.h"
#include "WsdEndpointWatch.h"

#include <charconv>

namespace vanmoor::cli {

namespace {

using commission::ChangeProgress;
using commission::ChangeVerdict;

onvif::SettingsChange CameraSettingsChange(const SettingsChange& change) {
    onvif::SettingsChange camera;
    camera.address = change.ip;
    camera.netmask = change.netmask;
    camera.gateway = change.gateway;
    camera.dns1 = change.dns1;
    camera.dns2 = change.dns2;
    camera.name = change.name;
    camera.dhcp = change.dhcp;
    if (change.port) {
        const settings::FormCheck check =
            settings::CheckPort(settings::Utf16FromUtf8(*change.port));
        if (check.problem != settings::FormProblem::None || check.port == 0 || check.port > 65535) {
            throw UsageError("a camera's web port must be 1 to 65535");
        }
        camera.httpPort = static_cast<std::uint16_t>(check.port);
    }
    return camera;
}

std::string StepsText(const std::vector<onvif::PlannedStep>& steps) {
    std::string text;
    for (const onvif::PlannedStep& step : steps) {
        text += (text.empty() ? "" : "; ") + std::string(onvif::ChangeStepText(step.step));
    }
    return text;
}

// What --dry-run prints: the steps that would be sent and the settings they carry.
Record PlanRecord(const DeviceInfo& device, const std::string& url, const onvif::ChangePlan& plan,
                  const onvif::SettingsChange& change) {
    const auto address = [](const std::optional<Ipv4Octets>& value) {
        return value ? Value(settings::DottedText(*value)) : Value();
    };
    return {
        {"endpoint", device.wsd->endpoint},
        {"url", url},
        {"steps", StepsText(plan.steps)},
        {"ip", address(change.address)},
        {"netmask", address(change.netmask)},
        {"gateway", address(change.gateway)},
        {"dns1", address(change.dns1)},
        {"dns2", address(change.dns2)},
        {"port", change.httpPort ? Value(static_cast<long long>(*change.httpPort)) : Value()},
        {"name", change.name ? Value(*change.name) : Value()},
        {"dhcp", change.dhcp ? Value(*change.dhcp) : Value()},
    };
}

std::string ProgressText(ChangeProgress progress, const std::string& camera) {
    switch (progress) {
    case ChangeProgress::Sending:
        return "sending the new settings to " + camera;
    case ChangeProgress::Rebooting:
        return camera + " restarts to take its new address";
    case ChangeProgress::WaitingForCamera:
        return "waiting for " + camera + " to show itself with its new settings";
    case ChangeProgress::Verifying:
        return "reading " + camera + " again to verify";
    }
    return {};
}

} // namespace

std::chrono::seconds VerifyWait(const Arguments& arguments) {
    const std::optional<std::string> text = arguments.Value(kVerifyWaitOption);
    if (!text) {
        return commission::CameraChange::Options{}.wait;
    }
    int seconds = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
    if (error != std::errc() || end != text->data() + text->size() || seconds < 1 ||
        seconds > 3600) {
        throw UsageError("--verify-wait takes 1 to 3600 seconds");
    }
    return std::chrono::seconds(seconds);
}

ExitStatus SetCamera(const CommandContext& context, const Arguments& arguments, DeviceInfo device,
                     const SettingsChange& change, OutputFormat format, Session& session) {
    const std::string camera = "camera " + DeviceIdentity(device);
    if (!CameraCredentialsGiven(arguments)) {
        throw CliError(ExitStatus::Failed,
                       camera + " answers WS-Discovery alone: its settings change through its "
                                "device service with --user and a password, or on its own web "
                                "page");
    }
    if (arguments.Has("--no-verify")) {
        throw UsageError("a camera's change is always verified; --no-verify is for devices of "
                         "the device protocols");
    }
    const onvif::SettingsChange wanted = CameraSettingsChange(change);
    const std::chrono::seconds wait = VerifyWait(arguments);
    CameraReader reader(arguments, context.console, camera);
    const commission::CameraAccess access = reader.Read(device);
    const onvif::CameraSettings& read = access.read;
    const std::string& url = access.deviceServiceUrl;

    if (arguments.Has("--dry-run")) {
        const onvif::ChangePlan plan = onvif::PlanChange(read, wanted);
        if (!plan.problem.empty()) {
            throw CliError(ExitStatus::Failed,
                           camera + ": the change cannot be sent: " + plan.problem);
        }
        PrintRecord(format, context.console.out, "settings", PlanRecord(device, url, plan, wanted));
        return ExitStatus::Success;
    }

    commission::WsdEndpointWatch::Options watchOptions;
    watchOptions.localAddresses = session.SearchedAddresses();
    commission::WsdEndpointWatch watch(watchOptions);
    commission::CameraChange::Options options;
    options.wait = wait;
    commission::CameraChange cameraChange(reader.Transport(), watch, options);
    const commission::CameraChangeResult result =
        cameraChange.Apply(access, wanted, [&](ChangeProgress progress) {
            context.console.err << ProgressText(progress, camera) << '\n' << std::flush;
        });
    switch (result.verdict) {
    case ChangeVerdict::Changed:
        context.console.err << camera << " shows the new settings\n";
        return ExitStatus::Success;
    case ChangeVerdict::NothingToChange:
        context.console.err << camera << " already has these settings: nothing was sent\n";
        return ExitStatus::Success;
    default:
        throw CliError(ExitStatus::Failed,
                       camera + ": " + commission::ChangeVerdictText(result.verdict) +
                           (result.detail.empty() ? std::string() : ": " + result.detail));
    }
}

} // namespace vanmoor::cli
