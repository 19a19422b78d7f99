#include "Password.h"

#include "EchoOff.h"
#include "Environment.h"
#include "ExitStatus.h"
#include "InputLine.h"
#include "SettingsForm.h"
#include "Utf8Path.h"

#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vanmoor::cli {

namespace {

// Far beyond a site's lines: a bigger file is the wrong one.
constexpr std::uintmax_t kMaxCredentialsFileBytes = 1024 * 1024;

// Why a file of passwords is not safe to take; empty when it is.
std::string WhyUnsafe(const std::string& path) {
#ifdef _WIN32
    (void)path;
    return {};
#else
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return "is no file that can be read";
    }
    if (status.st_uid != geteuid()) {
        return "belongs to another user";
    }
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        return "may be read or written by other users (chmod 600)";
    }
    return {};
#endif
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

// --user and the password; `missingUser` says why a user is needed.
UserCredentials ReadUserAndPassword(const Arguments& arguments, const Console& console,
                                    const std::string& target, const std::string& missingUser) {
    const std::optional<std::string> user = arguments.Value("--user");
    if (!user) {
        throw UsageError(missingUser);
    }
    const std::optional<std::string> passwordFile = arguments.Value("--password-file");
    std::string password =
        ReadPassword(passwordFile, console, "Password for " + *user + " on " + target + ": ");
    // An empty file is more often a mistake than a device without a password.
    if (passwordFile && password.empty() && !arguments.Has("--allow-empty-password")) {
        throw UsageError("the password file '" + *passwordFile +
                         "' holds no password; give --allow-empty-password to send an empty one");
    }
    return {*user, std::move(password)};
}

} // namespace

std::string ReadPassword(const std::optional<std::string>& passwordFile, const Console& console,
                         const std::string& prompt) {
    std::string line;
    if (passwordFile) {
        if (*passwordFile == "-") {
            return WithoutLineEnd(ReadInputLine());
        }
        std::ifstream file(PathFromUtf8(*passwordFile));
        if (!file) {
            throw UsageError("cannot read the password file '" + *passwordFile + "'");
        }
        std::getline(file, line);
        return WithoutLineEnd(line);
    }
    if (std::optional<std::string> fromEnvironment = EnvironmentValue("VANMOOR_PASSWORD")) {
        return *std::move(fromEnvironment);
    }
    if (!console.inIsTerminal) {
        throw UsageError("no password: use --password-file FILE or set VANMOOR_PASSWORD");
    }
    console.err << prompt << std::flush;
    {
        const EchoOff echoOff;
        line = ReadInputLine();
    }
    console.err << '\n';
    return WithoutLineEnd(line);
}

std::string ReadCredentialsFile(const std::string& path) {
    const std::string quoted = "the credentials file '" + path + "' ";
    if (const std::string why = WhyUnsafe(path); !why.empty()) {
        throw UsageError(quoted + why);
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(PathFromUtf8(path), error);
    if (error) {
        throw UsageError(quoted + "cannot be read");
    }
    if (size > kMaxCredentialsFileBytes) {
        throw UsageError(quoted + "is larger than 1 MiB");
    }
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file) {
        throw UsageError(quoted + "cannot be read");
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

UserCredentials ReadCredentials(const Arguments& arguments, const Console& console,
                                const std::string& target) {
    UserCredentials credentials =
        ReadUserAndPassword(arguments, console, target,
                            target + " answers on port 32970 and needs --user with a password");
    if (credentials.user.size() > settings::kMaxCredentialBytes ||
        credentials.password.size() > settings::kMaxCredentialBytes) {
        throw UsageError("user name and password may have at most 31 bytes each");
    }
    return credentials;
}

UserCredentials ReadCameraCredentials(const Arguments& arguments, const Console& console,
                                      const std::string& target) {
    return ReadUserAndPassword(arguments, console, target,
                               target + " is read through its device service with --user and a "
                                        "password");
}

} // namespace vanmoor::cli
