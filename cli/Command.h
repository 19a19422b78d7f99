#pragma once

#include "Arguments.h"
#include "Console.h"
#include "ExitStatus.h"
#include "Listing.h"

#include <string>
#include <vector>

namespace vanmoor::cli {

// What every sub-command gets: its words after its name, and where to write.
struct CommandContext {
    std::vector<std::string> words;
    const Console& console;
    bool quiet = false; // no progress line
};

// Each sub-command; returns the exit status or throws CliError.
ExitStatus RunInterfaces(const CommandContext& context);
ExitStatus RunScan(const CommandContext& context);
ExitStatus RunShow(const CommandContext& context);
ExitStatus RunSet(const CommandContext& context);
ExitStatus RunOpen(const CommandContext& context);
ExitStatus RunWatch(const CommandContext& context);
ExitStatus RunCheck(const CommandContext& context);
ExitStatus RunAssign(const CommandContext& context);

// The options every command takes besides its own: --output and those of SearchOptions.
OptionSet WithCommonOptions(OptionSet options);

// The format that --output asks for; without it, table on a terminal, else `otherwise`.
OutputFormat ChosenFormat(const Arguments& arguments, const Console& console,
                          OutputFormat otherwise);

// One record, for `show` and `set --dry-run`: in a table one line per field (it would not fit
// across), otherwise as a list of one under `listName`.
void PrintRecord(OutputFormat format, std::ostream& out, const std::string& listName,
                 const Record& record);

} // namespace vanmoor::cli
