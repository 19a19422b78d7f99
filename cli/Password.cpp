#include "Password.h"

#include "EchoOff.h"
#include "ExitStatus.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

namespace vanmoor::cli {

namespace {

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

} // namespace

std::string ReadPassword(const std::optional<std::string>& passwordFile, const Console& console,
                         const std::string& prompt) {
    std::string line;
    if (passwordFile) {
        if (*passwordFile == "-") {
            std::getline(std::cin, line);
            return WithoutLineEnd(line);
        }
        std::ifstream file(*passwordFile);
        if (!file) {
            throw UsageError("cannot read the password file '" + *passwordFile + "'");
        }
        std::getline(file, line);
        return WithoutLineEnd(line);
    }
    if (const char* fromEnvironment = std::getenv("VANMOOR_PASSWORD")) {
        return fromEnvironment;
    }
    if (!console.inIsTerminal) {
        throw UsageError("no password: use --password-file FILE or set VANMOOR_PASSWORD");
    }
    console.err << prompt << std::flush;
    {
        const EchoOff echoOff;
        std::getline(std::cin, line);
    }
    console.err << '\n';
    return WithoutLineEnd(line);
}

} // namespace vanmoor::cli
