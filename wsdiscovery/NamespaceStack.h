#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace vanmoor::wsd {

// The namespace declarations in scope at the element being read, so that element names and
// QName texts resolve to namespace URIs whatever prefixes the sender chose. Views point into
// the document being read and live as long as it does.
class NamespaceStack {
public:
    void EnterElement() { m_marks.push_back(m_bindings.size()); }
    void LeaveElement();
    // An xmlns attribute of the element just entered; an empty prefix is the default namespace.
    void Declare(std::string_view prefix, std::string_view uri);
    // The URI of `prefix`; the default namespace for an empty prefix (empty when none is set).
    // No value for a prefix that is not declared.
    std::optional<std::string_view> Resolve(std::string_view prefix) const;

private:
    std::vector<std::pair<std::string_view, std::string_view>> m_bindings;
    std::vector<std::size_t> m_marks;
};

// A qualified name split at its colon into prefix and local name; no prefix when there is none.
std::pair<std::string_view, std::string_view> SplitQualifiedName(std::string_view qualified);

// Whether an attribute of this name declares a namespace (xmlns or xmlns:prefix).
bool IsNamespaceDeclaration(std::string_view attributeName);

} // namespace vanmoor::wsd
