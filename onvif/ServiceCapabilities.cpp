#include "ServiceCapabilities.h"

#include "DeviceNamespaces.h"
#include "ElementPath.h"
#include "SoapEnvelope.h"
#include "TextItems.h"

namespace vanmoor::onvif {

namespace {

constexpr int kMaxDepth = 32;

constexpr PathStep kSecurityPath[] = {{kSoap12Namespace, "Envelope"},
                                      {kSoap12Namespace, "Body"},
                                      {kDeviceNamespace, "GetServiceCapabilitiesResponse"},
                                      {kDeviceNamespace, "Capabilities"},
                                      {kDeviceNamespace, "Security"}};

// Reads the attributes of the first Security element of the answer's capabilities.
class OfferHandler final : public wsd::XmlHandler {
public:
    void StartElement(wsd::XmlName name, const wsd::NamespaceStack&) override {
        m_path.Enter(name);
        m_inSecurity = !m_offer && m_path.Depth() == std::size(kSecurityPath) &&
                       m_path.StartsWith(kSecurityPath);
        if (m_inSecurity) {
            m_offer.emplace();
        }
    }

    // Attributes come right after their element's start.
    void Attribute(wsd::XmlName name, std::string_view value) override {
        if (!m_inSecurity || !name.namespaceUri.empty()) {
            return;
        }
        if (name.localName == "HttpDigest") {
            m_offer->httpDigest = XmlBoolean(value);
        } else if (name.localName == "UsernameToken") {
            m_offer->usernameToken = XmlBoolean(value);
        }
    }

    void Text(std::string_view) override {}

    void EndElement(const wsd::NamespaceStack&) override {
        m_inSecurity = false;
        m_path.Leave();
    }

    const std::optional<LoginOffer>& Offer() const { return m_offer; }

private:
    ElementPath m_path;
    bool m_inSecurity = false;
    std::optional<LoginOffer> m_offer;
};

} // namespace

std::optional<bool> XmlBoolean(std::string_view text) {
    text = wsd::TrimmedText(text);
    if (text == "true" || text == "1") {
        return true;
    }
    if (text == "false" || text == "0") {
        return false;
    }
    return std::nullopt;
}

std::optional<LoginOffer> ReadLoginOffer(std::string_view envelope, const wsd::XmlReader& reader,
                                         std::size_t maxBytes) {
    OfferHandler handler;
    if (reader.Read(envelope, maxBytes, kMaxDepth, handler) != wsd::ReadError::None) {
        return std::nullopt;
    }
    return handler.Offer();
}

} // namespace vanmoor::onvif
