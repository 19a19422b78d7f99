#include "CredentialsBook.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <variant>

namespace vanmoor::commission {

namespace {

struct Default {
    bool operator==(const Default&) const { return true; }
};

// Endpoint references compare without regard to case: the hex digits of a UUID come either way.
std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The next word of `line` from `at` on, after blanks; `at` moves past it.
std::string_view NextWord(std::string_view line, std::size_t& at) {
    while (at < line.size() && IsBlank(line[at])) {
        ++at;
    }
    const std::size_t start = at;
    while (at < line.size() && !IsBlank(line[at])) {
        ++at;
    }
    return line.substr(start, at - start);
}

[[noreturn]] void Refuse(std::size_t lineNumber, const std::string& why) {
    throw CredentialsFileError("line " + std::to_string(lineNumber) + " of the credentials file " +
                               why);
}

} // namespace

// Whom a line covers: a MAC, an endpoint reference (lowered), an address, or every device.
using Who = std::variant<MacBytes, std::string, Ipv4Octets, Default>;

struct CredentialsBook::Line {
    Who who;
    Credentials credentials;
    std::size_t number = 0;
};

CredentialsBook::CredentialsBook() = default;
CredentialsBook::~CredentialsBook() = default;
CredentialsBook::CredentialsBook(const CredentialsBook&) = default;
CredentialsBook& CredentialsBook::operator=(const CredentialsBook&) = default;
CredentialsBook::CredentialsBook(CredentialsBook&&) noexcept = default;
CredentialsBook& CredentialsBook::operator=(CredentialsBook&&) noexcept = default;

CredentialsBook CredentialsBook::ForEveryDevice(Credentials credentials) {
    CredentialsBook book;
    book.m_lines.push_back({Default{}, std::move(credentials), 0});
    return book;
}

CredentialsBook CredentialsBook::Parse(std::string_view text) {
    CredentialsBook book;
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        std::size_t at = 0;
        const std::string_view whoText = NextWord(line, at);
        if (whoText.empty() || whoText.front() == '#') {
            continue;
        }
        const std::string_view user = NextWord(line, at);
        while (at < line.size() && IsBlank(line[at])) {
            ++at;
        }
        if (user.empty() || at == line.size()) {
            Refuse(number, "is not WHO USER PASSWORD");
        }
        Who who;
        if (whoText == "default") {
            who = Default{};
        } else if (const std::optional<MacBytes> mac = settings::ParseMacText(whoText)) {
            who = *mac;
        } else if (const std::optional<Ipv4Octets> address =
                       settings::ParseDottedAddress(whoText)) {
            who = *address;
        } else if (settings::IsEndpointReference(whoText)) {
            who = Lowered(whoText);
        } else {
            Refuse(number, "names no MAC, endpoint reference, IPv4 address or default");
        }
        const auto same = std::find_if(book.m_lines.begin(), book.m_lines.end(),
                                       [&](const Line& earlier) { return earlier.who == who; });
        if (same != book.m_lines.end()) {
            Refuse(number, "names the device of line " + std::to_string(same->number) + " again");
        }
        book.m_lines.push_back(
            {std::move(who), Credentials{std::string(user), std::string(line.substr(at))}, number});
    }
    return book;
}

std::optional<Credentials> CredentialsBook::For(const SiteDevice& device) const {
    std::vector<Who> keys;
    if (device.mac) {
        keys.emplace_back(*device.mac);
    }
    if (device.wsd) {
        keys.emplace_back(Lowered(device.wsd->endpoint));
    }
    if (device.AddressKnown()) {
        keys.emplace_back(device.ip);
    }
    keys.emplace_back(Default{});
    for (const Who& key : keys) {
        for (const Line& line : m_lines) {
            if (line.who == key) {
                return line.credentials;
            }
        }
    }
    return std::nullopt;
}

bool CredentialsBook::Empty() const {
    return m_lines.empty();
}

} // namespace vanmoor::commission
