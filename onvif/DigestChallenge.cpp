#include "DigestChallenge.h"

#include "AuthChallenges.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace vanmoor::onvif {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// qop is a comma-separated list in one quoted string: "auth, auth-int".
bool OffersAuth(std::string_view qop) {
    std::size_t start = 0;
    while (start <= qop.size()) {
        std::size_t end = qop.find(',', start);
        end = end == std::string_view::npos ? qop.size() : end;
        std::string_view item = qop.substr(start, end - start);
        while (!item.empty() && (item.front() == ' ' || item.front() == '\t')) {
            item.remove_prefix(1);
        }
        while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) {
            item.remove_suffix(1);
        }
        if (EqualNoCase(item, "auth")) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::optional<DigestChallenge> Usable(const AuthChallenge& challenge) {
    if (challenge.scheme != "digest") {
        return std::nullopt;
    }
    const std::string* realm = challenge.Find("realm");
    const std::string* nonce = challenge.Find("nonce");
    if (realm == nullptr || nonce == nullptr || nonce->empty()) {
        return std::nullopt;
    }
    DigestChallenge digest;
    digest.realm = *realm;
    digest.nonce = *nonce;
    if (const std::string* opaque = challenge.Find("opaque")) {
        digest.opaque = *opaque;
    }
    if (const std::string* algorithm = challenge.Find("algorithm")) {
        std::string_view name = *algorithm;
        if (name.size() > 5 && EqualNoCase(name.substr(name.size() - 5), "-sess")) {
            digest.session = true;
            name.remove_suffix(5);
        }
        if (EqualNoCase(name, "SHA-256")) {
            digest.algorithm = HashAlgorithm::Sha256;
        } else if (!EqualNoCase(name, "MD5")) {
            return std::nullopt;
        }
    }
    if (const std::string* qop = challenge.Find("qop")) {
        if (!OffersAuth(*qop)) {
            return std::nullopt;
        }
        digest.qopAuth = true;
    }
    if (const std::string* stale = challenge.Find("stale")) {
        digest.stale = EqualNoCase(*stale, "true");
    }
    return digest;
}

int Rank(const DigestChallenge& challenge) {
    return (challenge.algorithm == HashAlgorithm::Sha256 ? 2 : 0) + (challenge.qopAuth ? 1 : 0);
}

} // namespace

std::string DigestChallenge::AlgorithmName() const {
    return std::string(algorithm == HashAlgorithm::Sha256 ? "SHA-256" : "MD5") +
           (session ? "-sess" : "");
}

std::optional<DigestChallenge> ChooseDigestChallenge(const std::vector<std::string>& headers) {
    std::optional<DigestChallenge> best;
    for (const AuthChallenge& challenge : ReadChallenges(headers)) {
        std::optional<DigestChallenge> digest = Usable(challenge);
        if (digest && (!best || Rank(*digest) > Rank(*best))) {
            best = std::move(digest);
        }
    }
    return best;
}

} // namespace vanmoor::onvif
