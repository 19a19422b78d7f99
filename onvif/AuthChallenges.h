#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vanmoor::onvif {

// One challenge of a WWW-Authenticate header (RFC 7235): the scheme and its parameters, names
// in lower case, values with the quoting removed. A token68 (Basic and the like) is dropped.
struct AuthChallenge {
    std::string scheme;
    std::vector<std::pair<std::string, std::string>> parameters;

    // The first value of `name` (lower case); empty when it is missing.
    const std::string* Find(const std::string& name) const;
};

// Every challenge of the answer's WWW-Authenticate headers, in order, several per header as
// well. The headers come from the camera and may be hostile: a header longer than a few
// kilobytes is skipped, counts are bounded, and a challenge that breaks the grammar (an open
// quote, a control character) ends the reading of its header, keeping the challenges before it.
std::vector<AuthChallenge> ReadChallenges(const std::vector<std::string>& headers);

} // namespace vanmoor::onvif
