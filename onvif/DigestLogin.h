#pragma once

#include "Credentials.h"
#include "DigestChallenge.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vanmoor::onvif {

// What one request adds to the digest: its method and target, the client nonce and the count
// of requests made with the challenge's nonce.
struct DigestRequest {
    std::string_view method;
    std::string_view uri; // exactly the path and query of the request line
    std::string_view cnonce;
    std::uint32_t nonceCount = 1;
};

// The Authorization header's value answering `challenge` (RFC 7616, section 3.4). Empty when
// the user name holds a control character, which no header may carry.
std::string DigestAuthorization(const DigestChallenge& challenge, const Credentials& credentials,
                                const DigestRequest& request);

// The Digest login of one camera: the challenge in force, its nonce count, a fresh client
// nonce for every request.
class DigestLogin {
public:
    explicit DigestLogin(Credentials credentials) : m_credentials(std::move(credentials)) {}

    // A new challenge; the count starts again when its nonce is a new one.
    void Take(DigestChallenge challenge);
    const std::optional<DigestChallenge>& Challenge() const { return m_challenge; }

    // The Authorization value of the next request; none without a challenge, without random
    // bytes from the platform, or for a user name no header can carry.
    std::optional<std::string> Authorize(std::string_view method, std::string_view uri);

private:
    Credentials m_credentials;
    std::optional<DigestChallenge> m_challenge;
    std::uint32_t m_nonceCount = 0;
};

} // namespace vanmoor::onvif
