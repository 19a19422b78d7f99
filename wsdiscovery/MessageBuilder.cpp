#include "MessageBuilder.h"

#include "Protocol.h"
#include "ScopeFields.h"
#include "TextItems.h"
#include "XAddrHost.h"

#include <charconv>

namespace vanmoor::wsd {

namespace {

bool IsSoap(XmlName name, std::string_view local) {
    return name.localName == local && (name.namespaceUri == kSoapEnvelopeNamespace ||
                                       name.namespaceUri == kSoap11EnvelopeNamespace);
}

bool Is(XmlName name, std::string_view namespaceUri, std::string_view local) {
    return name.namespaceUri == namespaceUri && name.localName == local;
}

std::optional<std::uint32_t> UnsignedNumber(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

MessageBuilder::MessageBuilder(Message& message, const Limits& limits)
    : m_message(message), m_limits(limits) {}

MessageBuilder::Role MessageBuilder::Classify(XmlName name) const {
    const Role parent = m_roles.empty() ? Role::Skipped : m_roles.back();
    if (m_roles.empty()) {
        return IsSoap(name, "Envelope") ? Role::Envelope : Role::Skipped;
    }
    switch (parent) {
    case Role::Envelope:
        if (IsSoap(name, "Header")) {
            return Role::Header;
        }
        return IsSoap(name, "Body") ? Role::Body : Role::Skipped;
    case Role::Header:
        if (name.namespaceUri != kAddressingNamespace) {
            return Role::Skipped;
        }
        if (name.localName == "Action") {
            return Role::Action;
        }
        if (name.localName == "MessageID") {
            return Role::MessageId;
        }
        if (name.localName == "RelatesTo") {
            return Role::RelatesTo;
        }
        return name.localName == "To" ? Role::To : Role::Skipped;
    case Role::ProbeMatches:
        return Is(name, kDiscoveryNamespace, "ProbeMatch") ? Role::Target : Role::Skipped;
    case Role::Target:
        if (Is(name, kAddressingNamespace, "EndpointReference")) {
            return Role::EndpointReference;
        }
        if (name.namespaceUri != kDiscoveryNamespace) {
            return Role::Skipped;
        }
        if (name.localName == "Types") {
            return Role::Types;
        }
        if (name.localName == "Scopes") {
            return Role::Scopes;
        }
        if (name.localName == "XAddrs") {
            return Role::XAddrs;
        }
        return name.localName == "MetadataVersion" ? Role::MetadataVersion : Role::Skipped;
    case Role::EndpointReference:
        return Is(name, kAddressingNamespace, "Address") ? Role::Address : Role::Skipped;
    default:
        return Role::Skipped;
    }
}

// A Body child names the message; only the first one counts.
MessageBuilder::Role MessageBuilder::OpenTarget(MessageKind kind) {
    if (m_sawBody) {
        return Role::Skipped;
    }
    m_sawBody = true;
    m_message.kind = kind;
    if (kind == MessageKind::ProbeMatches) {
        return Role::ProbeMatches;
    }
    m_message.targets.emplace_back();
    return Role::Target;
}

void MessageBuilder::StartElement(XmlName name, const NamespaceStack&) {
    Role role = Classify(name);
    if (role == Role::Envelope) {
        m_sawEnvelope = true;
    }
    if (!m_roles.empty() && m_roles.back() == Role::Body &&
        name.namespaceUri == kDiscoveryNamespace) {
        if (name.localName == "ProbeMatches") {
            role = OpenTarget(MessageKind::ProbeMatches);
        } else if (name.localName == "Hello") {
            role = OpenTarget(MessageKind::Hello);
        } else if (name.localName == "Bye") {
            role = OpenTarget(MessageKind::Bye);
        } else if (name.localName == "Probe") {
            role = OpenTarget(MessageKind::Probe);
        }
    } else if (role == Role::Target && m_roles.back() == Role::ProbeMatches) {
        if (m_message.targets.size() < m_limits.maxTargets) {
            m_message.targets.emplace_back();
        } else {
            ++m_message.targetsDropped;
            role = Role::Skipped;
        }
    }
    m_text.clear();
    m_roles.push_back(role);
}

void MessageBuilder::Text(std::string_view text) {
    // Only elements that hold a value collect text; the datagram bound bounds what they collect.
    switch (m_roles.empty() ? Role::Skipped : m_roles.back()) {
    case Role::Action:
    case Role::MessageId:
    case Role::RelatesTo:
    case Role::To:
    case Role::Address:
    case Role::Types:
    case Role::Scopes:
    case Role::XAddrs:
    case Role::MetadataVersion:
        m_text += text;
        break;
    default:
        break;
    }
}

void MessageBuilder::EndElement(const NamespaceStack& scope) {
    const Role role = m_roles.back();
    CloseText(role, scope);
    m_roles.pop_back();
    m_text.clear();
}

void MessageBuilder::CloseText(Role role, const NamespaceStack& scope) {
    const std::string_view value = TrimmedText(m_text);
    const std::size_t maxBytes = m_limits.maxTextBytes;
    TargetService* target = m_message.targets.empty() ? nullptr : &m_message.targets.back();
    switch (role) {
    case Role::Action:
        m_message.action = CutText(value, maxBytes);
        break;
    case Role::MessageId:
        m_message.messageId = CutText(value, maxBytes);
        break;
    case Role::RelatesTo:
        m_message.relatesTo = CutText(value, maxBytes);
        break;
    case Role::To:
        m_message.to = CutText(value, maxBytes);
        break;
    case Role::Address:
        target->address = CutText(value, maxBytes);
        break;
    case Role::Types:
        target->types = ResolveTypes(scope);
        break;
    case Role::Scopes:
        target->scopes = ListItems(value, m_limits.maxListItems, maxBytes);
        break;
    case Role::XAddrs:
        target->xaddrs = ListItems(value, m_limits.maxListItems, maxBytes);
        break;
    case Role::MetadataVersion:
        target->metadataVersion = UnsignedNumber(value);
        break;
    case Role::Target:
        FinishTarget();
        break;
    default:
        break;
    }
}

// Each type is a QName: its prefix resolves in the scope of the Types element. A type whose
// prefix is not declared cannot be compared with anything and is left out.
std::vector<QualifiedName> MessageBuilder::ResolveTypes(const NamespaceStack& scope) const {
    std::vector<QualifiedName> types;
    for (const std::string& item :
         ListItems(m_text, m_limits.maxListItems, m_limits.maxTextBytes)) {
        const std::size_t colon = item.find(':');
        const std::string_view prefix = colon == std::string::npos
                                            ? std::string_view{}
                                            : std::string_view(item).substr(0, colon);
        if (const auto uri = scope.Resolve(prefix)) {
            types.push_back(
                {std::string(*uri), item.substr(colon == std::string::npos ? 0 : colon + 1)});
        }
    }
    return types;
}

void MessageBuilder::FinishTarget() {
    TargetService& target = m_message.targets.back();
    ScopeFields fields = ReadScopeFields(target.scopes);
    target.name = std::move(fields.name);
    target.hardware = std::move(fields.hardware);
    target.location = std::move(fields.location);
    target.ipv4 = FirstIpv4Host(target.xaddrs);
}

} // namespace vanmoor::wsd
