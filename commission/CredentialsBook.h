#pragma once

#include "Credentials.h"
#include "SiteDevice.h"

#include <optional>
#include <string_view>
#include <vector>

namespace vanmoor::commission {

// Which user and password each device of a site logs in with: one pair for every device, or the
// lines of a credentials file for a site whose devices have different ones. A line names a
// device by its MAC, its endpoint reference or its address; a default line covers the rest.
class CredentialsBook {
public:
    // No credentials for any device.
    CredentialsBook() = default;
    static CredentialsBook ForEveryDevice(onvif::Credentials credentials);
    // The text of a credentials file. Throws MessageError naming the line of an entry it cannot
    // read, never quoting the entry itself (it holds a password).
    static CredentialsBook Parse(std::string_view text);

    // The line for `device`'s MAC, else its endpoint reference's, else its address's, else the
    // default line; none when no line covers it.
    std::optional<onvif::Credentials> For(const SiteDevice& device) const;
    bool Empty() const;

private:
    struct Line;
    std::vector<Line> m_lines;
};

} // namespace vanmoor::commission
