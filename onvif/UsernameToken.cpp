#include "UsernameToken.h"

#include "Base64.h"
#include "Crypto.h"
#include "DeviceNamespaces.h"
#include "UtcTimestamp.h"
#include "XmlText.h"

#include <array>

namespace vanmoor::onvif {

namespace {

constexpr const char* kPasswordDigestType =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-username-token-profile-1.0"
    "#PasswordDigest";
constexpr const char* kBase64Encoding =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-soap-message-security-1.0"
    "#Base64Binary";

} // namespace

std::string UsernameTokenHeader(const Credentials& credentials, std::span<const std::uint8_t> nonce,
                                std::chrono::sys_seconds created) {
    const std::string createdText = UtcTimestamp(created);
    std::string digestInput(reinterpret_cast<const char*>(nonce.data()), nonce.size());
    digestInput += createdText;
    digestInput += credentials.password;
    const std::string digest = Base64(Hash(HashAlgorithm::Sha1, digestInput));

    return "<wsse:Security xmlns:wsse=\"" + std::string(kWsSecurityNamespace) + "\" xmlns:wsu=\"" +
           std::string(kWsUtilityNamespace) + "\"><wsse:UsernameToken><wsse:Username>" +
           EscapeXml(credentials.user) + "</wsse:Username><wsse:Password Type=\"" +
           kPasswordDigestType + "\">" + digest + "</wsse:Password><wsse:Nonce EncodingType=\"" +
           kBase64Encoding + "\">" + Base64(nonce) + "</wsse:Nonce><wsu:Created>" + createdText +
           "</wsu:Created></wsse:UsernameToken></wsse:Security>";
}

std::optional<std::string> FreshUsernameTokenHeader(const Credentials& credentials,
                                                    std::chrono::sys_seconds created) {
    std::array<std::uint8_t, 16> nonce{};
    if (!RandomBytes(nonce)) {
        return std::nullopt;
    }
    return UsernameTokenHeader(credentials, nonce, created);
}

} // namespace vanmoor::onvif
