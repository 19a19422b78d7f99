#include "ProgramOptions.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrun {

namespace {

// Qt's options that take the next argument as their value, which is then no option of ours.
constexpr std::array<std::string_view, 8> kQtOptionsWithValue = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qmljsdebugger",
    "-style",    "-stylesheet",         "-display"};

std::string HelpText() {
    return "Usage: kestrun [options]\n"
           "Finds IP cameras and similar devices on the local networks and changes their network\n"
           "settings.\n"
           "\n"
           "Options:\n"
           "  -h, --help     Displays help on commandline options.\n"
           "  -v, --version  Displays version information.\n"
           "\n"
           "The standard options of Qt programs, such as -platform NAME or -style NAME, are\n"
           "accepted as well.\n";
}

} // namespace

std::optional<std::string> EarlyAnswer(const std::vector<std::string>& arguments,
                                       const std::string& version) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "-h" || word == "--help" || word == "-help" || word == "-?") {
            return HelpText();
        }
        if (word == "-v" || word == "--version") {
            return "kestrun " + version + "\n";
        }
        if (std::find(kQtOptionsWithValue.begin(), kQtOptionsWithValue.end(), word) !=
            kQtOptionsWithValue.end()) {
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace kestrun
