#include "NameScope.h"

#include "ScopeFields.h"

#include <algorithm>

namespace vanmoor::onvif {

namespace {

bool IsNameScope(const std::string& scope) {
    return !wsd::ReadScopeFields({scope}).name.empty();
}

} // namespace

std::string NameScope(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string scope = "onvif://www.onvif.org/name/";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~') {
            scope += c;
        } else {
            scope += '%';
            scope += kHex[byte >> 4];
            scope += kHex[byte & 0x0f];
        }
    }
    return scope;
}

std::vector<std::string> ScopesWithName(const std::vector<std::string>& configurable,
                                        std::string_view name) {
    std::vector<std::string> scopes = configurable;
    const auto named = std::find_if(scopes.begin(), scopes.end(), IsNameScope);
    if (named != scopes.end()) {
        *named = NameScope(name);
    } else {
        scopes.push_back(NameScope(name));
    }
    return scopes;
}

} // namespace vanmoor::onvif
