// Fuzz target: command line words, one per line, read as the command line program reads the
// arguments of its sub-commands, and the addresses and MACs among them parsed as it parses them.
// Only a usage error may come out; what is accepted must be what was given.
#include "FuzzCheck.h"

#include "AddressText.h"
#include "Arguments.h"
#include "Command.h"
#include "ExitStatus.h"
#include "InputLines.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Every value the parse keeps stands in the words, whole or after "--name=".
bool Given(const std::vector<std::string>& words, const std::string& name,
           const std::string& value) {
    return std::any_of(words.begin(), words.end(), [&](const std::string& word) {
        return word == value || word == name + "=" + value;
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vanmoor::cli;
    using vanmoor::fuzz::Require;
    const std::vector<std::string> words = vanmoor::fuzz::InputLines(data, size);
    const OptionSet options = WithCommonOptions(
        {{"--ip", "--netmask", "--mac", "--port", "--user"}, {"--dry-run", "--no-verify"}});
    try {
        const Arguments arguments(words, options);
        for (const std::string& positional : arguments.Positionals()) {
            Require(std::find(words.begin(), words.end(), positional) != words.end(),
                    "a positional argument is one of the words");
        }
        for (const std::string& name : options.withValue) {
            if (const auto value = arguments.Value(name)) {
                Require(Given(words, name, *value), "an option's value was given");
                if (const auto address = vanmoor::settings::ParseDottedAddress(*value)) {
                    Require(vanmoor::settings::ParseDottedAddress(
                                vanmoor::settings::DottedText(*address)) == address,
                            "an address reads back as itself");
                }
                if (const auto mac = vanmoor::settings::ParseMacText(*value)) {
                    Require(vanmoor::settings::ParseMacText(
                                vanmoor::settings::MacColonText(*mac)) == mac,
                            "a MAC reads back as itself");
                }
            }
        }
        const int port = arguments.Integer("--port", -1, 0, 65535);
        Require(port == -1 || (port >= 0 && port <= 65535), "a number stays in its range");
        arguments.Integer("--wait", 0, INT_MIN, INT_MAX);
        arguments.Single("MAC");
    } catch (const CliError& error) {
        Require(error.Status() == ExitStatus::Usage, "a refusal is a usage error");
    }
    return 0;
}
