#include "NamespaceStack.h"

namespace vanmoor::wsd {

void NamespaceStack::LeaveElement() {
    m_bindings.resize(m_marks.back());
    m_marks.pop_back();
}

void NamespaceStack::Declare(std::string_view prefix, std::string_view uri) {
    m_bindings.emplace_back(prefix, uri);
}

std::optional<std::string_view> NamespaceStack::Resolve(std::string_view prefix) const {
    for (auto binding = m_bindings.rbegin(); binding != m_bindings.rend(); ++binding) {
        if (binding->first == prefix) {
            // xmlns:p="" is no binding at all; xmlns="" takes the default namespace away.
            if (binding->second.empty() && !prefix.empty()) {
                return std::nullopt;
            }
            return binding->second;
        }
    }
    if (prefix.empty()) {
        return std::string_view{};
    }
    if (prefix == "xml") {
        return std::string_view{"http://www.w3.org/XML/1998/namespace"};
    }
    return std::nullopt;
}

std::pair<std::string_view, std::string_view> SplitQualifiedName(std::string_view qualified) {
    const std::size_t colon = qualified.find(':');
    if (colon == std::string_view::npos) {
        return {{}, qualified};
    }
    return {qualified.substr(0, colon), qualified.substr(colon + 1)};
}

bool IsNamespaceDeclaration(std::string_view attributeName) {
    constexpr std::string_view xmlns = "xmlns";
    return attributeName == xmlns ||
           (attributeName.size() > xmlns.size() && attributeName.starts_with(xmlns) &&
            attributeName[xmlns.size()] == ':');
}

} // namespace vanmoor::wsd
