#pragma once

#include "Crypto.h"

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::onvif {

// A Digest challenge this program can answer (RFC 7616): MD5 or SHA-256, plain or -sess,
// with qop=auth or in the form of RFC 2069 without qop.
struct DigestChallenge {
    HashAlgorithm algorithm = HashAlgorithm::Md5;
    bool session = false; // the -sess variant
    bool qopAuth = false; // false: no qop offered, the RFC 2069 form
    bool stale = false;   // the nonce expired, the credentials were right
    std::string realm;
    std::string nonce;
    std::optional<std::string> opaque;

    // The algorithm's name as the challenge gave it, for the Authorization and messages.
    std::string AlgorithmName() const;
};

// The best Digest challenge among the answer's WWW-Authenticate headers: SHA-256 before MD5,
// then qop=auth before the form without qop, then the first. None when no challenge is usable
// (another scheme only, auth-int only, an unknown algorithm, a realm or nonce missing).
std::optional<DigestChallenge> ChooseDigestChallenge(const std::vector<std::string>& headers);

} // namespace vanmoor::onvif
