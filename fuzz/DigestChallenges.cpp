// Fuzz target: the WWW-Authenticate headers of a camera's 401, one per line. Whatever they hold,
// the reading stays within its bounds, and the Authorization written for the Digest challenge
// chosen reads back with the challenge's realm, nonce and opaque as they were: every value the
// camera chose is quoted and escaped, never able to end the header or start another parameter.
#include "FuzzCheck.h"

#include "AuthChallenges.h"
#include "DigestChallenge.h"
#include "DigestLogin.h"
#include "InputLines.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

bool Same(const std::string* value, const std::string& expected) {
    return value != nullptr && *value == expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vanmoor::onvif;
    using vanmoor::fuzz::Require;
    const std::vector<std::string> headers = vanmoor::fuzz::InputLines(data, size);
    const std::vector<AuthChallenge> challenges = ReadChallenges(headers);
    Require(challenges.size() <= 16, "the challenges are bounded");
    for (const AuthChallenge& challenge : challenges) {
        Require(!challenge.scheme.empty() && challenge.parameters.size() <= 16,
                "a challenge has a scheme and bounded parameters");
    }
    const auto chosen = ChooseDigestChallenge(headers);
    if (!chosen) {
        return 0;
    }
    Require(!chosen->nonce.empty(), "a chosen challenge has a nonce");
    const std::string authorization =
        DigestAuthorization(*chosen, {"user", "password"}, {"POST", "/onvif", "cnonce", 1});
    const std::vector<AuthChallenge> reread = ReadChallenges({authorization});
    Require(reread.size() == 1 && reread[0].scheme == "digest",
            "the Authorization reads as one Digest credential");
    Require(Same(reread[0].Find("realm"), chosen->realm) &&
                Same(reread[0].Find("nonce"), chosen->nonce) &&
                (chosen->opaque ? Same(reread[0].Find("opaque"), *chosen->opaque)
                                : reread[0].Find("opaque") == nullptr),
            "the camera's values come back as they were");
    return 0;
}
