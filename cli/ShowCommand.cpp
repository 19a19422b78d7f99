#include "CameraReading.h"
#include "Command.h"
#include "DeviceLookup.h"

namespace vanmoor::cli {

// Every field of one device: in a table one line per field, otherwise like scan --all-fields.
// With credentials, a camera found by WS-Discovery is read through its device service first.
ExitStatus RunShow(const CommandContext& context) {
    OptionSet options{{kProtocolOption}, {"--allow-empty-password", kAcceptCertificateOption}};
    options.withValue.insert(options.withValue.end(), CameraCredentialOptions().begin(),
                             CameraCredentialOptions().end());
    const Arguments arguments(context.words, WithCommonOptions(options));
    const DeviceKey key =
        ParseDeviceArgument(arguments.Single("MAC address, endpoint or IP address"));
    const OutputFormat format = ChosenFormat(arguments, context.console, OutputFormat::Json);
    Session session(context.console, !context.quiet, ReadSearchOptions(arguments));
    DeviceInfo device = FindDevice(session, key);
    if (CameraCredentialsGiven(arguments)) {
        if (!device.wsd) {
            throw CliError(ExitStatus::Failed, "device " + DeviceIdentity(device) +
                                                   " answered no WS-Discovery search: it has no "
                                                   "device service to read");
        }
        CameraReader reader(arguments, context.console, "camera " + DeviceIdentity(device));
        reader.Read(device);
    }
    PrintRecord(format, context.console.out, "devices", DeviceRecord(device));
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
