#include "TokenLogin.h"

#include "ServiceCrypto.h"

#include <cstdio>
#include <ctime>
#include <optional>

namespace vanmoor::devsim {

namespace {

constexpr char kPasswordDigest[] = "http://docs.oasis-open.org/wss/2004/01/"
                                   "oasis-200401-wss-username-token-profile-1.0#PasswordDigest";
// Nonces remembered; past this many the device forgets them all, as a small camera would.
constexpr std::size_t kNoncesKept = 4096;

// "2026-12-10T07:34:21Z" or with a fraction of a second; none for anything else.
std::optional<std::chrono::system_clock::time_point> ParseCreated(const std::string& text) {
    std::tm parts{};
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &parts.tm_year, &parts.tm_mon,
                    &parts.tm_mday, &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &consumed) != 6) {
        return std::nullopt;
    }
    std::size_t rest = static_cast<std::size_t>(consumed);
    if (rest < text.size() && text[rest] == '.') {
        for (++rest; rest < text.size() && text[rest] >= '0' && text[rest] <= '9'; ++rest) {
        }
    }
    if (rest + 1 != text.size() || text[rest] != 'Z') {
        return std::nullopt;
    }
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    return std::chrono::system_clock::from_time_t(timegm(&parts));
}

} // namespace

bool TokenLogin::Check(const UsernameToken& token, const std::string& user,
                       const std::string& password,
                       std::chrono::system_clock::time_point deviceNow) {
    const auto created = ParseCreated(token.created);
    const auto nonce = FromBase64(token.nonce);
    if (token.username != user || token.passwordType != kPasswordDigest || !created || !nonce) {
        return false;
    }
    const auto difference = *created > deviceNow ? *created - deviceNow : deviceNow - *created;
    if (difference > kClockTolerance ||
        token.password != Base64(HashBytes(HashKind::Sha1, *nonce + token.created + password))) {
        return false;
    }
    const std::lock_guard lock(m_Mutex);
    if (m_UsedNonces.size() >= kNoncesKept) {
        m_UsedNonces.clear();
    }
    return m_UsedNonces.insert(*nonce).second;
}

} // namespace vanmoor::devsim
