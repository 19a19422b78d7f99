#include "PugiXmlReader.h"

#include <pugixml.hpp>

#include <utility>

namespace vanmoor::wsd {

namespace {

constexpr std::string_view kXmlns = "xmlns";

// Declares the element's namespaces, then hands it over with its name resolved.
ReadError EnterElement(const pugi::xml_node& element, NamespaceStack& scope, XmlHandler& handler) {
    scope.EnterElement();
    for (const pugi::xml_attribute& attribute : element.attributes()) {
        const std::string_view name = attribute.name();
        if (name == kXmlns) {
            scope.Declare({}, attribute.value());
        } else if (IsNamespaceDeclaration(name)) {
            scope.Declare(name.substr(kXmlns.size() + 1), attribute.value());
        }
    }
    const auto [prefix, local] = SplitQualifiedName(element.name());
    const auto uri = scope.Resolve(prefix);
    if (!uri) {
        return ReadError::UnboundPrefix;
    }
    handler.StartElement({*uri, local}, scope);
    for (const pugi::xml_attribute& attribute : element.attributes()) {
        if (IsNamespaceDeclaration(attribute.name())) {
            continue;
        }
        const auto [attributePrefix, attributeLocal] = SplitQualifiedName(attribute.name());
        const auto attributeUri = attributePrefix.empty() ? std::optional(std::string_view{})
                                                          : scope.Resolve(attributePrefix);
        if (!attributeUri) {
            return ReadError::UnboundPrefix;
        }
        handler.Attribute({*attributeUri, attributeLocal}, attribute.value());
    }
    return ReadError::None;
}

void LeaveElement(NamespaceStack& scope, XmlHandler& handler) {
    handler.EndElement(scope);
    scope.LeaveElement();
}

} // namespace

ReadError PugiXmlReader::Read(std::string_view document, std::size_t maxBytes, int maxDepth,
                              XmlHandler& handler) const {
    if (document.size() > maxBytes) {
        return ReadError::TooLarge;
    }
    pugi::xml_document tree;
    // The document type node is kept only so that it can be refused.
    const auto parsed = tree.load_buffer(document.data(), document.size(),
                                         pugi::parse_default | pugi::parse_doctype);
    if (!parsed) {
        return ReadError::Malformed;
    }
    // pugixml takes several top-level elements; a document has exactly one root.
    int roots = 0;
    for (const pugi::xml_node& node : tree.children()) {
        if (node.type() == pugi::node_doctype) {
            return ReadError::Doctype;
        }
        roots += node.type() == pugi::node_element ? 1 : 0;
    }
    if (roots != 1) {
        return ReadError::Malformed;
    }
    // Walked without recursion, so a deep document cannot exhaust the stack.
    NamespaceStack scope;
    int depth = 0;
    pugi::xml_node node = tree.first_child();
    while (node) {
        if (node.type() == pugi::node_element) {
            if (++depth > maxDepth) {
                return ReadError::TooDeep;
            }
            if (const ReadError error = EnterElement(node, scope, handler);
                error != ReadError::None) {
                return error;
            }
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            LeaveElement(scope, handler);
            --depth;
        } else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            handler.Text(node.value());
        }
        while (!node.next_sibling() && node.parent() != tree) {
            node = node.parent();
            LeaveElement(scope, handler);
            --depth;
        }
        node = node.next_sibling();
    }
    return ReadError::None;
}

} // namespace vanmoor::wsd
