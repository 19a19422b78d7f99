#pragma once

#include "Arguments.h"
#include "Console.h"

#include <optional>
#include <string>

namespace vanmoor::cli {

// The password for a device's credentials, never from the command line itself (it would show
// in the process list). In order: the first line of `passwordFile` ("-": standard input), the
// environment variable VANMOOR_PASSWORD, a prompt without echo when standard input is a
// terminal. Throws a usage error when none of them gives one.
std::string ReadPassword(const std::optional<std::string>& passwordFile, const Console& console,
                         const std::string& prompt);

// The text of a credentials file (passwords in it), never quoted in a message. Throws a usage
// error for a file that cannot be read, one larger than a credentials file would be, and, where
// files have owners and modes, one that another user owns or may read or write.
std::string ReadCredentialsFile(const std::string& path);

// A user name and password for devices that answer on port 32970.
struct UserCredentials {
    std::string user;
    std::string password;
};

// --user and the password read as above, for the devices named by `target`; throws a usage
// error when --user is missing, either would be cut by the settings record, or the password
// file gives an empty password without --allow-empty-password.
UserCredentials ReadCredentials(const Arguments& arguments, const Console& console,
                                const std::string& target);

// The same for a camera's device service, whose login takes a user name and password of any
// length (UTF-8).
UserCredentials ReadCameraCredentials(const Arguments& arguments, const Console& console,
                                      const std::string& target);

} // namespace vanmoor::cli
