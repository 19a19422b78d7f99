#include "Command.h"
#include "DeviceLookup.h"

namespace vanmoor::cli {

// Every field of one device: in a table one line per field, otherwise like scan --all-fields.
ExitStatus RunShow(const CommandContext& context) {
    const Arguments arguments(context.words, WithCommonOptions({{kProtocolOption}, {}}));
    const DeviceKey key = ParseDeviceArgument(arguments.Single("MAC address or endpoint"));
    const OutputFormat format = ChosenFormat(arguments, context.console, OutputFormat::Json);
    Session session(context.console, !context.quiet, ReadSearchOptions(arguments));
    const Record record = DeviceRecord(FindDevice(session, key));

    PrintRecord(format, context.console.out, "devices", record);
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
