#include "Cli.h"

#include "Command.h"
#include "HelpText.h"
#include "LogRedirect.h"
#include "SafeText.h"

#include <algorithm>
#include <map>
#include <memory>

namespace vanmoor::cli {

namespace {

using CommandFunction = ExitStatus (*)(const CommandContext&);

const std::map<std::string, CommandFunction>& Commands() {
    static const std::map<std::string, CommandFunction> commands = {
        {"interfaces", &RunInterfaces},
        {"scan", &RunScan},
        {"show", &RunShow},
        {"set", &RunSet},
        {"open", &RunOpen},
        {"watch", &RunWatch},
        {"check", &RunCheck},
        {"assign", &RunAssign},
    };
    return commands;
}

bool IsHelp(const std::string& word) {
    return word == "--help" || word == "-h";
}

bool IsQuiet(const std::string& word) {
    return word == "--quiet" || word == "-q";
}

// The options of the program itself, before the command.
struct ProgramOptions {
    std::optional<std::optional<std::string>> log; // set: log on; inner: to a file
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::size_t commandAt = 0; // index of the command word
};

ProgramOptions ReadProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    std::size_t i = 0;
    for (; i < arguments.size() && arguments[i].rfind('-', 0) == 0; ++i) {
        const std::string& word = arguments[i];
        if (word == "--log") {
            options.log = std::optional<std::string>{};
        } else if (word.rfind("--log=", 0) == 0 && word.size() > 6) {
            options.log = word.substr(6);
        } else if (IsQuiet(word)) {
            options.quiet = true;
        } else if (IsHelp(word)) {
            options.help = true;
        } else if (word == "--version") {
            options.version = true;
        } else {
            throw UsageError("unknown option '" + word + "'");
        }
    }
    options.commandAt = i;
    return options;
}

ExitStatus Run(const std::vector<std::string>& arguments, const Console& console,
               std::string& command) {
    const ProgramOptions options = ReadProgramOptions(arguments);
    if (options.version) {
        console.out << "vanmoor " << VANMOOR_VERSION << '\n';
        return ExitStatus::Success;
    }
    if (options.help) {
        console.out << HelpText("");
        return ExitStatus::Success;
    }
    if (options.commandAt == arguments.size()) {
        throw UsageError("no command given");
    }
    command = arguments[options.commandAt];
    const auto found = Commands().find(command);
    if (found == Commands().end()) {
        const std::string unknown = command;
        command.clear();
        throw UsageError("unknown command '" + unknown + "'");
    }
    std::vector<std::string> words(arguments.begin() + options.commandAt + 1, arguments.end());
    const auto optionsEnd = std::find(words.begin(), words.end(), "--");
    if (std::any_of(words.begin(), optionsEnd, IsHelp)) {
        console.out << HelpText(command);
        return ExitStatus::Success;
    }
    const bool quiet = options.quiet || std::any_of(words.begin(), optionsEnd, IsQuiet);
    words.erase(std::remove_if(words.begin(), optionsEnd, IsQuiet), optionsEnd);

    std::unique_ptr<LogRedirect> log;
    if (options.log) {
        log = std::make_unique<LogRedirect>(*options.log);
    }
    const CommandContext context{words, console, quiet || !console.errIsTerminal};
    return found->second(context);
}

} // namespace

int RunCli(const std::vector<std::string>& arguments, const Console& console) {
    std::string command;
    try {
        return static_cast<int>(Run(arguments, console, command));
    } catch (const CliError& error) {
        // Messages may quote device texts: they reach the terminal as the table shows them.
        console.err << "vanmoor: " << listing::TerminalText(error.what()) << '\n';
        if (error.Status() == ExitStatus::Usage) {
            console.err << "Try 'vanmoor " << (command.empty() ? "" : command + " ")
                        << "--help'.\n";
        }
        return static_cast<int>(error.Status());
    } catch (const std::exception& error) {
        console.err << "vanmoor: " << listing::TerminalText(error.what()) << '\n';
        return static_cast<int>(ExitStatus::Failed);
    }
}

} // namespace vanmoor::cli
