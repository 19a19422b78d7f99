#include "Command.h"
#include "Session.h"

#include <algorithm>
#include <sstream>

namespace vanmoor::cli {

namespace {

// The keys --fields names, each checked against the known ones.
std::vector<std::string> ParseFieldList(const std::string& text) {
    std::vector<std::string> keys;
    std::istringstream in(text);
    for (std::string key; std::getline(in, key, ',');) {
        const auto& known = AllDeviceKeys();
        if (std::find(known.begin(), known.end(), key) == known.end()) {
            std::string all;
            for (const std::string& name : known) {
                all += (all.empty() ? "" : ",") + name;
            }
            throw UsageError("unknown field '" + key + "' (fields: " + all + ")");
        }
        keys.push_back(key);
    }
    if (keys.empty()) {
        throw UsageError("--fields needs at least one field");
    }
    return keys;
}

std::vector<std::string> ChosenKeys(const Arguments& arguments, OutputFormat format,
                                    const ProtocolChoice& protocols) {
    if (const auto fields = arguments.Value("--fields")) {
        return ParseFieldList(*fields);
    }
    if (arguments.Has("--all-fields")) {
        return AllDeviceKeys();
    }
    if (format == OutputFormat::Table) {
        return TableDeviceKeys();
    }
    return listing::ListDeviceKeys(protocols.wsd);
}

} // namespace

// One search (or --repeat of them), then every device found.
ExitStatus RunScan(const CommandContext& context) {
    const Arguments arguments(
        context.words,
        WithCommonOptions({{"--fields", "--sort", kProtocolOption, "--target"}, {"--all-fields"}}));
    arguments.NoPositionals();
    const OutputFormat format = ChosenFormat(arguments, context.console, OutputFormat::Json);
    SearchOptions options = ReadSearchOptions(arguments);
    options.wsdTarget = arguments.Value("--target");
    if (options.wsdTarget && !settings::ParseDottedAddress(*options.wsdTarget)) {
        throw UsageError("--target needs an IPv4 address, not '" + *options.wsdTarget + "'");
    }
    const std::vector<std::string> keys = ChosenKeys(arguments, format, options.protocols);
    const std::optional<std::string> sortKey = arguments.Value("--sort");
    if (sortKey) {
        ParseFieldList(*sortKey);
    }

    Session session(context.console, !context.quiet, std::move(options));
    std::vector<Record> records;
    for (const DeviceInfo& device : session.Search()) {
        records.push_back(DeviceRecord(device));
    }
    if (sortKey) {
        SortRecords(records, *sortKey);
    }
    WriteDeviceList(format, context.console.out, records, keys);
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
