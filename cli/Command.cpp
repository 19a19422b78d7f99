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
    const std::optional<std::string> choice = arguments.Value("--output");
    if (!choice) {
        return console.outIsTerminal ? OutputFormat::Table : otherwise;
    }
    if (const std::optional<OutputFormat> format = listing::ParseOutputFormat(*choice)) {
        return *format;
    }
    throw UsageError("unknown output format '" + *choice + "' (table, json, jsonl or csv)");
}

void PrintRecord(OutputFormat format, std::ostream& out, const std::string& listName,
                 const Record& record) {
    auto printer = MakePrinter(format, out);
    if (format == OutputFormat::Table) {
        printer->Begin("fields", {"field", "value"});
        for (const Field& field : record) {
            printer->Row({{"field", field.key}, {"value", field.value}});
        }
    } else {
        std::vector<std::string> keys;
        for (const Field& field : record) {
            keys.push_back(field.key);
        }
        printer->Begin(listName, keys);
        printer->Row(record);
    }
    printer->End();
}

} // namespace vanmoor::cli
