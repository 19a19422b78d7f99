#include "ServiceCapabilities.h"

#include "DeviceNamespaces.h"
#include "SoapEnvelope.h"
#include "TextItems.h"

#include <vector>

namespace vanmoor::onvif {

namespace {

constexpr int kMaxDepth = 32;

// Follows Envelope/Body/GetServiceCapabilitiesResponse/Capabilities/Security and reads the
// attributes of Security.
class OfferHandler final : public wsd::XmlHandler {
public:
    void StartElement(wsd::XmlName name, const wsd::NamespaceStack&) override {
        static constexpr std::string_view kPath[] = {
            "Envelope", "Body", "GetServiceCapabilitiesResponse", "Capabilities", "Security"};
        m_inSecurity = false;
        const std::size_t depth = m_depth++;
        if (depth != m_matched || depth >= std::size(kPath) || name.localName != kPath[depth] ||
            name.namespaceUri != (depth < 2 ? kSoap12Namespace : kDeviceNamespace)) {
            return;
        }
        ++m_matched;
        if (m_matched == std::size(kPath) && !m_offer) {
            m_offer.emplace();
            m_inSecurity = true;
        }
    }

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
        if (m_matched == m_depth--) {
            --m_matched;
        }
    }

    const std::optional<LoginOffer>& Offer() const { return m_offer; }

private:
    std::size_t m_depth = 0;   // elements open now
    std::size_t m_matched = 0; // how many of them lie on the path
    bool m_inSecurity = false; // attributes come right after their element's start
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
