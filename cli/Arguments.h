#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::cli {

// The options one command accepts: those that take a value and those that are switches.
struct OptionSet {
    std::vector<std::string> withValue; // "--wait MS" or "--wait=MS"
    std::vector<std::string> switches;  // "--dry-run"
};

// A command's arguments after its name, checked against its options. Throws a usage error
// for an unknown option or a missing value. "--" ends the options.
class Arguments {
public:
    Arguments(const std::vector<std::string>& words, const OptionSet& options);

    bool Has(const std::string& option) const { return m_Values.count(option) != 0; }
    std::optional<std::string> Value(const std::string& option) const;
    const std::vector<std::string>& Positionals() const { return m_Positionals; }

    // A whole number within [min, max]; `fallback` when the option is absent.
    int Integer(const std::string& option, int fallback, int min, int max) const;
    // The only positional argument, named `what` in the error when there is not exactly one.
    const std::string& Single(const std::string& what) const;
    // No positional argument allowed.
    void NoPositionals() const;

private:
    std::map<std::string, std::string> m_Values; // a switch maps to ""
    std::vector<std::string> m_Positionals;
};

} // namespace vanmoor::cli
