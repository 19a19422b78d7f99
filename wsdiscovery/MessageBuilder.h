#pragma once

#include "Limits.h"
#include "Message.h"
#include "XmlReader.h"

#include <string>
#include <vector>

namespace vanmoor::wsd {

// Fills a Message from a document's elements, matched by namespace URI and local name.
// Elements it does not know, and everything inside them, are skipped.
class MessageBuilder final : public XmlHandler {
public:
    MessageBuilder(Message& message, const Limits& limits);

    void StartElement(XmlName name, const NamespaceStack& scope) override;
    void Text(std::string_view text) override;
    void EndElement(const NamespaceStack& scope) override;

    bool SawEnvelope() const { return m_sawEnvelope; }
    bool SawDiscoveryBody() const { return m_sawBody; }

private:
    enum class Role {
        Skipped,
        Envelope,
        Header,
        Body,
        Action,
        MessageId,
        RelatesTo,
        To,
        ProbeMatches,
        Target,
        EndpointReference,
        Address,
        Types,
        Scopes,
        XAddrs,
        MetadataVersion,
    };

    Role Classify(XmlName name) const;
    Role OpenTarget(MessageKind kind);
    void CloseText(Role role, const NamespaceStack& scope);
    std::vector<QualifiedName> ResolveTypes(const NamespaceStack& scope) const;
    void FinishTarget();

    Message& m_message;
    const Limits& m_limits;
    std::vector<Role> m_roles;
    std::string m_text;
    bool m_sawEnvelope = false;
    bool m_sawBody = false;
};

} // namespace vanmoor::wsd
