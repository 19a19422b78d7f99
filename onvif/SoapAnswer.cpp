#include "SoapAnswer.h"

#include "SoapEnvelope.h"
#include "TextItems.h"

#include <algorithm>

namespace vanmoor::onvif {

namespace {

constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxCodes = 8;
constexpr std::size_t kMaxTextBytes = 1024;

class FaultHandler final : public wsd::XmlHandler {
public:
    void StartElement(wsd::XmlName name, const wsd::NamespaceStack&) override {
        const Role parent = m_roles.empty() ? Role::Document : m_roles.back();
        m_roles.push_back(Classify(parent, name));
        if (m_roles.back() == Role::Envelope) {
            m_sawEnvelope = true;
        } else if (m_roles.back() == Role::Fault) {
            m_fault.emplace();
        }
        m_text.clear();
    }

    void Text(std::string_view text) override {
        const Role role = m_roles.empty() ? Role::Document : m_roles.back();
        if ((role == Role::Value || role == Role::ReasonText) &&
            m_text.size() < kMaxTextBytes * 4) {
            m_text += text;
        }
    }

    void EndElement(const wsd::NamespaceStack& scope) override {
        const Role role = m_roles.back();
        m_roles.pop_back();
        const std::string_view text = wsd::TrimmedText(m_text);
        if (role == Role::Value && m_fault->codes.size() < kMaxCodes) {
            m_fault->codes.push_back(Resolve(text, scope));
            m_fault->innermostCode = wsd::CutText(text, kMaxTextBytes);
        } else if (role == Role::ReasonText && !m_sawReasonText) {
            m_sawReasonText = true;
            m_fault->reason = wsd::CutText(text, kMaxTextBytes);
        }
        m_text.clear();
    }

    bool SawEnvelope() const { return m_sawEnvelope; }
    std::optional<SoapFault>& Fault() { return m_fault; }

private:
    enum class Role { Document, Skipped, Envelope, Body, Fault, Code, Value, Reason, ReasonText };

    static Role Classify(Role parent, wsd::XmlName name) {
        if (name.namespaceUri != kSoap12Namespace) {
            return Role::Skipped;
        }
        const std::string_view local = name.localName;
        switch (parent) {
        case Role::Document:
            return local == "Envelope" ? Role::Envelope : Role::Skipped;
        case Role::Envelope:
            return local == "Body" ? Role::Body : Role::Skipped;
        case Role::Body:
            return local == "Fault" ? Role::Fault : Role::Skipped;
        case Role::Fault:
            if (local == "Code") {
                return Role::Code;
            }
            return local == "Reason" ? Role::Reason : Role::Skipped;
        case Role::Code: // a Code or a Subcode: its Value, and a Subcode nested in it
            if (local == "Value") {
                return Role::Value;
            }
            return local == "Subcode" ? Role::Code : Role::Skipped;
        case Role::Reason:
            return local == "Text" ? Role::ReasonText : Role::Skipped;
        default:
            return Role::Skipped;
        }
    }

    // A QName text: its prefix resolves in the scope of its element; an undeclared prefix
    // leaves the namespace empty, so the code matches nothing.
    static wsd::QualifiedName Resolve(std::string_view text, const wsd::NamespaceStack& scope) {
        const auto [prefix, local] = wsd::SplitQualifiedName(text);
        const std::optional<std::string_view> uri = scope.Resolve(prefix);
        return {uri ? std::string(*uri) : std::string(), wsd::CutText(local, kMaxTextBytes)};
    }

    std::vector<Role> m_roles;
    std::string m_text;
    std::optional<SoapFault> m_fault;
    bool m_sawEnvelope = false;
    bool m_sawReasonText = false;
};

} // namespace

bool SoapFault::Has(std::string_view namespaceUri, std::string_view localName) const {
    return std::any_of(codes.begin(), codes.end(), [&](const wsd::QualifiedName& code) {
        return code.namespaceUri == namespaceUri && code.localName == localName;
    });
}

SoapAnswer ReadSoapAnswer(std::string_view document, const wsd::XmlReader& reader,
                          std::size_t maxBytes) {
    FaultHandler handler;
    SoapAnswer answer;
    answer.error = reader.Read(document, maxBytes, kMaxDepth, handler);
    if (answer.error == wsd::ReadError::None && !handler.SawEnvelope()) {
        answer.error = wsd::ReadError::NotSoapEnvelope;
    }
    if (answer.error == wsd::ReadError::None) {
        answer.fault = std::move(handler.Fault());
    }
    return answer;
}

} // namespace vanmoor::onvif
