#include "AuthChallenges.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <optional>
#include <string_view>

namespace vanmoor::onvif {

namespace {

constexpr std::size_t kMaxHeaderBytes = 8192;
constexpr std::size_t kMaxHeaders = 16;
constexpr std::size_t kMaxChallenges = 16;
constexpr std::size_t kMaxParameters = 16;

bool IsTokenChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken68Char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::string_view("-._~+/").find(c) != std::string_view::npos;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Reads one header left to right; every read either advances or reports a break.
class HeaderReader {
public:
    explicit HeaderReader(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_at >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_at]; }
    std::size_t Position() const { return m_at; }
    void Rewind(std::size_t at) { m_at = at; }
    void Skip() { ++m_at; }

    void SkipSpace() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t')) {
            ++m_at;
        }
    }

    std::string_view Token() { return While(IsTokenChar); }

    // A token68 is its characters followed by any number of '='.
    std::string_view Token68() {
        const std::size_t start = m_at;
        if (While(IsToken68Char).empty()) {
            return {};
        }
        while (Peek() == '=') {
            ++m_at;
        }
        return m_text.substr(start, m_at - start);
    }

    // A quoted-string with its backslash escapes resolved; nothing at an open quote or a control
    // character other than tab.
    std::optional<std::string> Quoted() {
        std::string value;
        for (++m_at; !AtEnd(); ++m_at) {
            char c = m_text[m_at];
            if (c == '"') {
                ++m_at;
                return value;
            }
            if (c == '\\') {
                if (++m_at == m_text.size()) {
                    break;
                }
                c = m_text[m_at];
            }
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) {
                break;
            }
            value += c;
        }
        return std::nullopt;
    }

private:
    std::string_view While(bool (*accept)(char)) {
        const std::size_t start = m_at;
        while (!AtEnd() && accept(m_text[m_at])) {
            ++m_at;
        }
        return m_text.substr(start, m_at - start);
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

// Reads the parameters after a scheme. False when the header breaks the grammar here.
bool ReadParameters(HeaderReader& reader, AuthChallenge& challenge) {
    bool first = true;
    while (true) {
        reader.SkipSpace();
        while (reader.Peek() == ',') {
            reader.Skip();
            reader.SkipSpace();
            first = false;
        }
        if (reader.AtEnd()) {
            return true;
        }
        const std::size_t start = reader.Position();
        const std::string_view name = reader.Token();
        reader.SkipSpace();
        if (reader.Peek() != '=' || name.empty()) {
            // Right after the scheme this is a token68; after a comma it is the next challenge.
            if (!first) {
                reader.Rewind(start);
                return !name.empty();
            }
            reader.Rewind(start);
            if (reader.Token68().empty()) {
                return false;
            }
            first = false;
            continue;
        }
        reader.Skip();
        reader.SkipSpace();
        std::optional<std::string> value;
        if (reader.Peek() == '"') {
            value = reader.Quoted();
        } else if (const std::string_view token = reader.Token(); !token.empty()) {
            value = std::string(token);
        }
        if (!value) {
            // "name=" and nothing more may still be the end of a token68 ("YWxh=="): the
            // rest of the header cannot be trusted either way.
            return false;
        }
        if (challenge.parameters.size() < kMaxParameters) {
            challenge.parameters.emplace_back(Lower(name), std::move(*value));
        }
        first = false;
        reader.SkipSpace();
        if (!reader.AtEnd() && reader.Peek() != ',') {
            return false;
        }
    }
}

} // namespace

const std::string* AuthChallenge::Find(const std::string& name) const {
    for (const auto& [key, value] : parameters) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

std::vector<AuthChallenge> ReadChallenges(const std::vector<std::string>& headers) {
    std::vector<AuthChallenge> challenges;
    const std::size_t headerCount = std::min(headers.size(), kMaxHeaders);
    for (std::size_t h = 0; h < headerCount && challenges.size() < kMaxChallenges; ++h) {
        if (headers[h].size() > kMaxHeaderBytes) {
            continue;
        }
        HeaderReader reader(headers[h]);
        while (challenges.size() < kMaxChallenges) {
            reader.SkipSpace();
            while (reader.Peek() == ',') {
                reader.Skip();
                reader.SkipSpace();
            }
            const std::string_view scheme = reader.Token();
            if (scheme.empty()) {
                break;
            }
            AuthChallenge challenge{Lower(scheme), {}};
            const bool intact = ReadParameters(reader, challenge);
            if (!intact) {
                break;
            }
            challenges.push_back(std::move(challenge));
        }
    }
    return challenges;
}

} // namespace vanmoor::onvif
