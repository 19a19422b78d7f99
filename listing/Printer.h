#pragma once

#include "Record.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::listing {

enum class OutputFormat { Table, Json, Jsonl, Csv };

// "table", "json", "jsonl" or "csv"; none for anything else.
std::optional<OutputFormat> ParseOutputFormat(std::string_view name);

// Writes records in one format, chosen once, so that no command formats by hand. A run is
// Begin, any number of Row and Flush, then End.
class Printer {
public:
    virtual ~Printer() = default;
    // `listName` names the array of a JSON document ("devices"); `columns` are the keys that
    // every record will carry, in order.
    virtual void Begin(const std::string& listName, const std::vector<std::string>& columns) = 0;
    virtual void Row(const Record& record) = 0;
    // Makes the rows so far visible: for a stream of events.
    virtual void Flush() = 0;
    virtual void End() = 0;
};

std::unique_ptr<Printer> MakePrinter(OutputFormat format, std::ostream& out);

} // namespace vanmoor::listing
