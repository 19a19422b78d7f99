#include "Command.h"
#include "InterfaceList.h"
#include "Session.h"

namespace vanmoor::cli {

// The library's local addresses, each with the interface that holds it.
ExitStatus RunInterfaces(const CommandContext& context) {
    const Arguments arguments(context.words, OptionSet{{"--output"}, {}});
    arguments.NoPositionals();
    auto printer = MakePrinter(ChosenFormat(arguments, context.console, OutputFormat::Json),
                               context.console.out);
    const Session session(context.console, false, SearchOptions{});
    const std::vector<commission::InterfaceAddress> interfaces =
        commission::ListInterfaceAddresses();

    printer->Begin("interfaces", {"name", "address", "prefix_length"});
    for (const std::string& address : session.LocalAddresses()) {
        Record record = {{"name", Value{}}, {"address", address}, {"prefix_length", Value{}}};
        for (const auto& entry : interfaces) {
            if (entry.address == address) {
                record[0].value = entry.name;
                record[2].value = static_cast<long long>(entry.prefixLength);
                break;
            }
        }
        printer->Row(record);
    }
    printer->End();
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
