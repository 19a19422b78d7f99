#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::devsim {

// HTTP Digest login (RFC 7616) as a device checks it: challenges with a fresh nonce for SHA-256
// and MD5, qop=auth; an Authorization header is taken when realm, a nonce it issued, the URI
// equal to the request target, a count above the last one seen for that nonce, a client nonce
// and the response all hold. Thread-safe.
class DigestLogin {
public:
    explicit DigestLogin(std::string realm) : m_Realm(std::move(realm)) {}

    // WWW-Authenticate values, SHA-256 first.
    std::vector<std::string> Challenges();
    bool Check(std::string_view authorization, std::string_view method, std::string_view target,
               const std::string& user, const std::string& password);

private:
    const std::string m_Realm;
    std::mutex m_Mutex;
    std::map<std::string, std::uint32_t> m_Nonces; // issued nonce -> the last count used
    std::vector<std::string> m_Issued;             // oldest first, so that old ones expire
};

} // namespace vanmoor::devsim
