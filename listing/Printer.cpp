#include "Printer.h"

#include "CsvPrinter.h"
#include "JsonPrinter.h"
#include "TablePrinter.h"

namespace vanmoor::listing {

std::optional<OutputFormat> ParseOutputFormat(std::string_view name) {
    if (name == "table") {
        return OutputFormat::Table;
    }
    if (name == "json") {
        return OutputFormat::Json;
    }
    if (name == "jsonl") {
        return OutputFormat::Jsonl;
    }
    if (name == "csv") {
        return OutputFormat::Csv;
    }
    return std::nullopt;
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

} // namespace vanmoor::listing
