#include "HttpExchange.h"

#include <algorithm>
#include <charconv>

namespace vanmoor::onvif {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool Token(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
    });
}

bool SafeValue(std::string_view value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

} // namespace

std::optional<std::vector<std::string>> HttpExchange::RequestHeaderLines(const HttpRequest& request,
                                                                         std::string& why) {
    std::vector<std::string> lines;
    if (!SafeValue(request.contentType)) {
        why = "the Content-Type holds a line break";
        return std::nullopt;
    }
    lines.push_back("Content-Type: " + request.contentType);
    for (const auto& [name, value] : request.headers) {
        if (!Token(name) || !SafeValue(value)) {
            why = "the header " + (Token(name) ? name : std::string("with a bad name")) +
                  " cannot be sent as given";
            return std::nullopt;
        }
        lines.push_back(name + ": " + value);
    }
    return lines;
}

void HttpExchange::Status(int status) {
    m_Response = HttpResponse{};
    m_Response.status = status;
    m_ContentLength.reset();
}

void HttpExchange::Header(std::string_view name, std::string_view value) {
    name = Trimmed(name);
    value = Trimmed(value);
    if (SameName(name, "WWW-Authenticate")) {
        m_Response.wwwAuthenticate.emplace_back(value);
    } else if (SameName(name, "Content-Type")) {
        m_Response.contentType = value;
    } else if (SameName(name, "Content-Length")) {
        std::uint64_t length = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), length);
        if (error == std::errc() && end == value.data() + value.size()) {
            m_ContentLength = length;
        }
    }
}

void HttpExchange::HeaderLine(std::string_view line) {
    if (line.starts_with("HTTP/")) {
        const std::size_t space = line.find(' ');
        int status = 0;
        if (space != std::string_view::npos) {
            std::string_view code = line.substr(space + 1, 3);
            std::from_chars(code.data(), code.data() + code.size(), status);
        }
        Status(status);
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos) {
        Header(line.substr(0, colon), line.substr(colon + 1));
    }
}

bool HttpExchange::LengthWithinLimit() const {
    return !m_ContentLength || *m_ContentLength <= m_MaxBodyBytes;
}

bool HttpExchange::Body(std::string_view piece) {
    if (piece.size() > m_MaxBodyBytes - m_Response.body.size()) {
        m_TooLarge = true;
        return false;
    }
    m_Response.body.append(piece);
    return true;
}

bool HttpExchange::Complete() const {
    return !m_ContentLength || m_Response.body.size() >= *m_ContentLength;
}

} // namespace vanmoor::onvif
