#include "Printer.h"

#include "CsvPrinter.h"
#include "ExitStatus.h"
#include "JsonPrinter.h"
#include "TablePrinter.h"

namespace vanmoor::cli {

OutputFormat ParseOutputFormat(const std::optional<std::string>& choice, OutputFormat fallback) {
    if (!choice) {
        return fallback;
    }
    if (*choice == "table") {
        return OutputFormat::Table;
    }
    if (*choice == "json") {
        return OutputFormat::Json;
    }
    if (*choice == "jsonl") {
        return OutputFormat::Jsonl;
    }
    if (*choice == "csv") {
        return OutputFormat::Csv;
    }
    throw UsageError("unknown output format '" + *choice + "' (table, json, jsonl or csv)");
}

std::unique_ptr<Printer> MakePrinter(OutputFormat format, std::ostream& out) {
    switch (format) {
    case OutputFormat::Json:
        return std::make_unique<JsonPrinter>(out, false);
    case OutputFormat::Jsonl:
        return std::make_unique<JsonPrinter>(out, true);
    case OutputFormat::Csv:
        return std::make_unique<CsvPrinter>(out);
    case OutputFormat::Table:
        break;
    }
    return std::make_unique<TablePrinter>(out);
}

} // namespace vanmoor::cli
