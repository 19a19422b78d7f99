#include "Command.h"

#include "Session.h"

namespace vanmoor::cli {

OptionSet WithCommonOptions(OptionSet options) {
    options.withValue.push_back("--output");
    for (const std::string& name : SearchOptionNames()) {
        options.withValue.push_back(name);
    }
    return options;
}

OutputFormat ChosenFormat(const Arguments& arguments, const Console& console,
                          OutputFormat otherwise) {
    const OutputFormat fallback = console.outIsTerminal ? OutputFormat::Table : otherwise;
    return ParseOutputFormat(arguments.Value("--output"), fallback);
}

} // namespace vanmoor::cli
