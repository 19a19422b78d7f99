#include "ScopeFields.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace vanmoor::wsd {

namespace {

// Scheme and host are case-insensitive in a URI; the path is not.
constexpr std::string_view kScopeRoot = "onvif://www.onvif.org/";

std::optional<int> HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return std::nullopt;
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

void TakeFirst(std::string& field, std::string_view path, std::string_view kind) {
    if (field.empty() && path.size() > kind.size() && path.starts_with(kind)) {
        field = PercentDecoded(path.substr(kind.size()));
    }
}

} // namespace

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 2 < text.size()) {
            const auto high = HexValue(text[at + 1]);
            const auto low = HexValue(text[at + 2]);
            if (high && low) {
                decoded += static_cast<char>(*high * 16 + *low);
                at += 2;
                continue;
            }
        }
        decoded += text[at];
    }
    return decoded;
}

ScopeFields ReadScopeFields(const std::vector<std::string>& scopes) {
    ScopeFields fields;
    for (const std::string& scope : scopes) {
        if (!StartsWithNoCase(scope, kScopeRoot)) {
            continue;
        }
        const std::string_view path = std::string_view(scope).substr(kScopeRoot.size());
        TakeFirst(fields.name, path, "name/");
        TakeFirst(fields.hardware, path, "hardware/");
        TakeFirst(fields.location, path, "location/");
    }
    return fields;
}

} // namespace vanmoor::wsd
