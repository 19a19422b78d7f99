#pragma once

#include "Credentials.h"
#include "SiteDevice.h"

#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace vanmoor::commission {

using onvif::Credentials;

// A credentials file that cannot be read; the message names the line, never its text (it holds
// a password).
class CredentialsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Which user and password each device of a site logs in with: one pair for every device, or the
// lines of a credentials file for a site whose devices have different ones. A line names a
// device by its MAC, its endpoint reference or its address; a default line covers the rest.
// Texts are UTF-8 bytes; the settings rules convert them for the device protocols.
class CredentialsBook {
public:
    // No credentials for any device.
    CredentialsBook();
    ~CredentialsBook();
    CredentialsBook(const CredentialsBook&);
    CredentialsBook& operator=(const CredentialsBook&);
    CredentialsBook(CredentialsBook&&) noexcept;
    CredentialsBook& operator=(CredentialsBook&&) noexcept;

    static CredentialsBook ForEveryDevice(Credentials credentials);
    // The text of a credentials file: one `WHO USER PASSWORD` a line, WHO a MAC, an endpoint
    // reference, an IPv4 address or `default`; the password is the rest of the line. Throws
    // CredentialsFileError for a line it cannot read or a WHO named twice.
    static CredentialsBook Parse(std::string_view text);

    // The line for `device`'s MAC, else its endpoint reference's, else its address's, else the
    // default line; none when no line covers it.
    std::optional<Credentials> For(const SiteDevice& device) const;
    bool Empty() const;

private:
    struct Line;
    std::vector<Line> m_lines;
};

} // namespace vanmoor::commission
