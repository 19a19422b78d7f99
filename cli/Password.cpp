#include "Password.h"

#include "EchoOff.h"
#include "ExitStatus.h"
#include "SettingsForm.h"

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

UserCredentials ReadCredentials(const Arguments& arguments, const Console& console,
                                const std::string& target) {
    const std::optional<std::string> user = arguments.Value("--user");
    if (!user) {
        throw UsageError(target + " answers on port 32970 and needs --user with a password");
    }
    const std::optional<std::string> passwordFile = arguments.Value("--password-file");
    std::string password =
        ReadPassword(passwordFile, console, "Password for " + *user + " on " + target + ": ");
    // An empty file is more often a mistake than a device without a password.
    if (passwordFile && password.empty() && !arguments.Has("--allow-empty-password")) {
        throw UsageError("the password file '" + *passwordFile +
                         "' holds no password; give --allow-empty-password to send an empty one");
    }
    if (user->size() > settings::kMaxCredentialBytes ||
        password.size() > settings::kMaxCredentialBytes) {
        throw UsageError("user name and password may have at most 31 bytes each");
    }
    return {*user, std::move(password)};
}

} // namespace vanmoor::cli
