#include "DigestLogin.h"

#include "Base64.h"
#include "Crypto.h"

#include <array>
#include <cstdio>

namespace vanmoor::onvif {

namespace {

// A quoted-string's content: backslash before quote and backslash.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

bool HasControlCharacter(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string DigestAuthorization(const DigestChallenge& challenge, const Credentials& credentials,
                                const DigestRequest& request) {
    if (HasControlCharacter(credentials.user)) {
        return {};
    }
    const auto hash = [&](const std::string& text) { return HexHash(challenge.algorithm, text); };
    std::string ha1 = hash(credentials.user + ':' + challenge.realm + ':' + credentials.password);
    if (challenge.session) {
        ha1 = hash(ha1 + ':' + challenge.nonce + ':' + std::string(request.cnonce));
    }
    const std::string ha2 = hash(std::string(request.method) + ':' + std::string(request.uri));
    std::array<char, 9> count{};
    std::snprintf(count.data(), count.size(), "%08x", static_cast<unsigned>(request.nonceCount));

    std::string value = "Digest username=" + Quoted(credentials.user) +
                        ", realm=" + Quoted(challenge.realm) + ", uri=" + Quoted(request.uri) +
                        ", algorithm=" + challenge.AlgorithmName() +
                        ", nonce=" + Quoted(challenge.nonce);
    std::string response;
    if (challenge.qopAuth) {
        response = hash(ha1 + ':' + challenge.nonce + ':' + count.data() + ':' +
                        std::string(request.cnonce) + ":auth:" + ha2);
        value += ", nc=" + std::string(count.data()) + ", cnonce=" + Quoted(request.cnonce) +
                 ", qop=auth";
    } else {
        response = hash(ha1 + ':' + challenge.nonce + ':' + ha2);
    }
    value += ", response=" + Quoted(response);
    if (challenge.opaque) {
        value += ", opaque=" + Quoted(*challenge.opaque);
    }
    return value;
}

void DigestLogin::Take(DigestChallenge challenge) {
    if (!m_challenge || m_challenge->nonce != challenge.nonce) {
        m_nonceCount = 0;
    }
    m_challenge = std::move(challenge);
}

std::optional<std::string> DigestLogin::Authorize(std::string_view method, std::string_view uri) {
    std::array<std::uint8_t, 16> random{};
    if (!m_challenge || !RandomBytes(random)) {
        return std::nullopt;
    }
    const std::string cnonce = Base64(random);
    std::string value =
        DigestAuthorization(*m_challenge, m_credentials, {method, uri, cnonce, ++m_nonceCount});
    if (value.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace vanmoor::onvif
