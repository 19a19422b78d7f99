#include "CameraBatch.h"
#include "CameraReading.h"
#include "Command.h"
#include "SiteCheck.h"
#include "SiteSurvey.h"

namespace vanmoor::cli {

// Searches and prints what is wrong on the site, one finding per row; exit status 1 when any
// finding is an error, so that a script can gate on it. With credentials the cameras found by
// WS-Discovery are read first, --concurrency at a time, so that their netmask and gateway are
// judged too; a camera that cannot be read is named and judged as without them.
ExitStatus RunCheck(const CommandContext& context) {
    OptionSet options{{kProtocolOption, "--concurrency"},
                      {"--allow-empty-password", kAcceptCertificateOption}};
    options.withValue.insert(options.withValue.end(), CameraCredentialOptions().begin(),
                             CameraCredentialOptions().end());
    const Arguments arguments(context.words, WithCommonOptions(options));
    arguments.NoPositionals();
    const OutputFormat format = ChosenFormat(arguments, context.console, OutputFormat::Json);

    Session session(context.console, !context.quiet, ReadSearchOptions(arguments));
    std::vector<DeviceInfo> devices = session.Search();
    if (CameraCredentialsGiven(arguments)) {
        CameraReader reader(arguments, context.console, "the cameras");
        // Those without a device service URL or credentials are named here; the batch tries
        // only the others.
        for (DeviceInfo& device : devices) {
            if (device.wsd &&
                (commission::DeviceServiceUrl(device).empty() || !reader.Book().For(device))) {
                try {
                    reader.Read(device);
                } catch (const CliError& error) {
                    context.console.err << "vanmoor: " << error.what() << '\n';
                }
            }
        }
        commission::CameraBatchOptions batch;
        batch.concurrency = arguments.Integer("--concurrency", batch.concurrency, 1, 64);
        batch.transport = ReadTransportOptions(arguments);
        commission::ReadCameras(devices, reader.Book(), batch,
                                [&](const DeviceInfo& camera, const commission::CameraRead& read,
                                    std::size_t, std::size_t) {
                                    if (read.end != commission::CameraReadEnd::Read) {
                                        context.console.err
                                            << "vanmoor: " << CameraReadProblem(camera, read)
                                            << '\n';
                                    }
                                });
    }
    const std::vector<commission::Finding> findings =
        commission::CheckSite(devices, HostAddresses(session));

    auto printer = MakePrinter(format, context.console.out);
    printer->Begin("findings", {"mac", "ip", "name", "severity", "finding", "message", "endpoint"});
    for (const commission::Finding& finding : findings) {
        const Record device = DeviceRecord(devices.at(finding.device));
        const Record where = SelectFields(device, {"mac", "ip", "name"});
        Record row(where.begin(), where.end());
        row.push_back({"severity", std::string(commission::SeverityText(finding.severity))});
        row.push_back({"finding", std::string(commission::FindingKindText(finding.kind))});
        row.push_back({"message", commission::EnglishText(finding.message)});
        row.push_back(SelectFields(device, {"endpoint"}).front());
        printer->Row(row);
    }
    printer->End();
    if (!context.quiet) {
        context.console.err << devices.size() << " devices, " << findings.size() << " findings\n";
    }
    return commission::HasError(findings) ? ExitStatus::Failed : ExitStatus::Success;
}

} // namespace vanmoor::cli
