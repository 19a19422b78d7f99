#include "SoapRequest.h"

#include <cstring>
#include <pugixml.hpp>

namespace vanmoor::devsim {

namespace {

constexpr char kEnvelopeNamespace[] = "http://www.w3.org/2003/05/soap-envelope";
constexpr char kSecurityNamespace[] =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
// Requests of the device service are small; anything larger is refused unread.
constexpr std::size_t kMaxRequestBytes = 256 * 1024;
// The operations' content is a few levels deep; deeper elements are not read.
constexpr int kMaxDepth = 12;

std::string_view LocalName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The namespace the element's prefix stands for, from the declarations around it.
std::string_view NamespaceOf(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    const std::string attribute =
        colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(name.substr(0, colon));
    for (pugi::xml_node at = node; at; at = at.parent()) {
        if (const pugi::xml_attribute declared = at.attribute(attribute.c_str())) {
            return declared.value();
        }
    }
    return {};
}

pugi::xml_node Child(const pugi::xml_node& parent, std::string_view local,
                     std::string_view namespaceUri) {
    for (const pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && LocalName(child) == local &&
            NamespaceOf(child) == namespaceUri) {
            return child;
        }
    }
    return {};
}

pugi::xml_node ChildByLocalName(const pugi::xml_node& parent, std::string_view local) {
    for (const pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && LocalName(child) == local) {
            return child;
        }
    }
    return {};
}

std::optional<UsernameToken> ReadToken(const pugi::xml_node& header) {
    const pugi::xml_node token =
        Child(Child(header, "Security", kSecurityNamespace), "UsernameToken", kSecurityNamespace);
    if (!token) {
        return std::nullopt;
    }
    const pugi::xml_node password = ChildByLocalName(token, "Password");
    return UsernameToken{ChildByLocalName(token, "Username").text().get(),
                         password.attribute("Type").value(), password.text().get(),
                         ChildByLocalName(token, "Nonce").text().get(),
                         ChildByLocalName(token, "Created").text().get()};
}

} // namespace

std::optional<SoapRequest> SoapRequest::Read(std::string_view text) {
    if (text.size() > kMaxRequestBytes) {
        return std::nullopt;
    }
    pugi::xml_document document;
    // Without parse_doctype a document type is skipped, and no entity it declares is expanded.
    if (!document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8)) {
        return std::nullopt;
    }
    const pugi::xml_node envelope = document.document_element();
    if (LocalName(envelope) != "Envelope" || NamespaceOf(envelope) != kEnvelopeNamespace) {
        return std::nullopt;
    }
    const pugi::xml_node body = Child(envelope, "Body", kEnvelopeNamespace);
    pugi::xml_node operation;
    for (const pugi::xml_node child : body.children()) {
        if (child.type() == pugi::node_element) {
            if (operation) {
                return std::nullopt;
            }
            operation = child;
        }
    }
    if (!operation) {
        return std::nullopt;
    }
    SoapRequest request;
    request.m_Operation = LocalName(operation);
    request.m_Token = ReadToken(Child(envelope, "Header", kEnvelopeNamespace));
    struct Walk {
        static void Down(const pugi::xml_node& node, const std::string& path,
                         std::vector<Element>& out, int depth) {
            if (depth == kMaxDepth) {
                return;
            }
            for (const pugi::xml_node child : node.children()) {
                if (child.type() != pugi::node_element) {
                    continue;
                }
                const std::string childPath =
                    (path.empty() ? "" : path + "/") + std::string(LocalName(child));
                out.push_back({childPath, child.text().get()});
                Down(child, childPath, out, depth + 1);
            }
        }
    };
    Walk::Down(operation, "", request.m_Elements, 0);
    return request;
}

std::optional<std::string> SoapRequest::Text(std::string_view path) const {
    for (const Element& element : m_Elements) {
        if (element.path == path) {
            return element.text;
        }
    }
    return std::nullopt;
}

std::vector<std::string> SoapRequest::Texts(std::string_view path) const {
    std::vector<std::string> texts;
    for (const Element& element : m_Elements) {
        if (element.path == path) {
            texts.push_back(element.text);
        }
    }
    return texts;
}

} // namespace vanmoor::devsim
