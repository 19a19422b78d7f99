#include "Arguments.h"

#include "ExitStatus.h"

#include <algorithm>
#include <charconv>

namespace vanmoor::cli {

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

Arguments::Arguments(const std::vector<std::string>& words, const OptionSet& options) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.rfind("--", 0) != 0) {
            if (!optionsEnded && word.size() > 1 && word[0] == '-') {
                throw UsageError("unknown option '" + word + "'");
            }
            m_Positionals.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (Contains(options.switches, name)) {
            if (equals != std::string::npos) {
                throw UsageError("option '" + name + "' takes no value");
            }
            m_Values[name] = "";
        } else if (Contains(options.withValue, name)) {
            if (equals != std::string::npos) {
                m_Values[name] = word.substr(equals + 1);
            } else if (i + 1 < words.size()) {
                m_Values[name] = words[++i];
            } else {
                throw UsageError("option '" + name + "' needs a value");
            }
        } else {
            throw UsageError("unknown option '" + name + "'");
        }
    }
}

std::optional<std::string> Arguments::Value(const std::string& option) const {
    const auto found = m_Values.find(option);
    if (found == m_Values.end()) {
        return std::nullopt;
    }
    return found->second;
}

int Arguments::Integer(const std::string& option, int fallback, int min, int max) const {
    const std::optional<std::string> text = Value(option);
    if (!text) {
        return fallback;
    }
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc{} || stop != end || value < min || value > max) {
        throw UsageError("option '" + option + "' needs a whole number from " +
                         std::to_string(min) + " to " + std::to_string(max) + ", not '" + *text +
                         "'");
    }
    return value;
}

const std::string& Arguments::Single(const std::string& what) const {
    if (m_Positionals.size() != 1) {
        throw UsageError(m_Positionals.empty() ? "missing " + what
                                               : "unexpected argument '" + m_Positionals[1] + "'");
    }
    return m_Positionals.front();
}

void Arguments::NoPositionals() const {
    if (!m_Positionals.empty()) {
        throw UsageError("unexpected argument '" + m_Positionals.front() + "'");
    }
}

} // namespace vanmoor::cli
