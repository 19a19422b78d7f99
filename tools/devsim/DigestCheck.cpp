#include "DigestCheck.h"

#include "ServiceCrypto.h"

#include <charconv>
#include <optional>

namespace vanmoor::devsim {

namespace {

// Nonces kept before the oldest is forgotten.
constexpr std::size_t kNoncesKept = 256;

// The parameters of a Digest credentials header; none when it is not one.
std::optional<std::map<std::string, std::string>> Parameters(std::string_view text) {
    constexpr std::string_view kScheme = "Digest ";
    if (text.size() < kScheme.size() || text.substr(0, kScheme.size()) != kScheme) {
        return std::nullopt;
    }
    std::map<std::string, std::string> parameters;
    std::size_t pos = kScheme.size();
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == ',')) {
            ++pos;
        }
        const std::size_t equals = text.find('=', pos);
        if (equals == std::string_view::npos) {
            break;
        }
        std::string key(text.substr(pos, equals - pos));
        while (!key.empty() && key.back() == ' ') {
            key.pop_back();
        }
        pos = equals + 1;
        std::string value;
        if (pos < text.size() && text[pos] == '"') {
            for (++pos; pos < text.size() && text[pos] != '"'; ++pos) {
                if (text[pos] == '\\' && pos + 1 < text.size()) {
                    ++pos;
                }
                value += text[pos];
            }
            if (pos == text.size()) {
                return std::nullopt; // no closing quote
            }
            ++pos;
        } else {
            const std::size_t end = std::min(text.find(',', pos), text.size());
            value = std::string(text.substr(pos, end - pos));
            while (!value.empty() && value.back() == ' ') {
                value.pop_back();
            }
            pos = end;
        }
        if (!parameters.emplace(std::move(key), std::move(value)).second) {
            return std::nullopt; // a parameter twice
        }
    }
    return parameters;
}

std::optional<std::uint32_t> NonceCount(const std::string& text) {
    std::uint32_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count, 16);
    if (text.size() != 8 || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return count;
}

} // namespace

std::vector<std::string> DigestLogin::Challenges() {
    const std::string nonce = RandomHex(16);
    {
        const std::lock_guard lock(m_Mutex);
        m_Nonces.emplace(nonce, 0);
        m_Issued.push_back(nonce);
        if (m_Issued.size() > kNoncesKept) {
            m_Nonces.erase(m_Issued.front());
            m_Issued.erase(m_Issued.begin());
        }
    }
    std::vector<std::string> challenges;
    for (const char* algorithm : {"SHA-256", "MD5"}) {
        challenges.push_back("Digest realm=\"" + m_Realm + "\", qop=\"auth\", algorithm=" +
                             algorithm + ", nonce=\"" + nonce + "\"");
    }
    return challenges;
}

bool DigestLogin::Check(std::string_view authorization, std::string_view method,
                        std::string_view target, const std::string& user,
                        const std::string& password) {
    const auto parameters = Parameters(authorization);
    if (!parameters) {
        return false;
    }
    const auto value = [&](const char* key) {
        const auto found = parameters->find(key);
        return found == parameters->end() ? std::string() : found->second;
    };
    const std::string algorithm = value("algorithm").empty() ? "MD5" : value("algorithm");
    if (algorithm != "MD5" && algorithm != "SHA-256") {
        return false;
    }
    const HashKind kind = algorithm == "MD5" ? HashKind::Md5 : HashKind::Sha256;
    const std::string nonce = value("nonce");
    const std::string cnonce = value("cnonce");
    const auto count = NonceCount(value("nc"));
    if (value("username") != user || value("realm") != m_Realm || value("uri") != target ||
        value("qop") != "auth" || cnonce.empty() || !count) {
        return false;
    }
    const std::string ha1 = HashHex(kind, user + ":" + m_Realm + ":" + password);
    const std::string ha2 = HashHex(kind, std::string(method) + ":" + std::string(target));
    const std::string expected =
        HashHex(kind, ha1 + ":" + nonce + ":" + value("nc") + ":" + cnonce + ":auth:" + ha2);
    if (value("response") != expected) {
        return false;
    }
    const std::lock_guard lock(m_Mutex);
    const auto issued = m_Nonces.find(nonce);
    if (issued == m_Nonces.end() || *count <= issued->second) {
        return false; // a nonce never issued, or a replayed count
    }
    issued->second = *count;
    return true;
}

} // namespace vanmoor::devsim
