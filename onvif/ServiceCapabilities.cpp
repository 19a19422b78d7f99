#include "ServiceCapabilities.h"

#include "AnswerReader.h"
#include "TextItems.h"

namespace vanmoor::onvif {

namespace {

// Reads the attributes of the first Security element of the answer's capabilities.
class OfferReader final : public AnswerReader {
public:
    OfferReader() : AnswerReader("GetServiceCapabilitiesResponse") {}

    const std::optional<LoginOffer>& Offer() const { return m_offer; }

private:
    void Open(const Path& path) override {
        m_inSecurity = !m_offer && At(path, {"tds:Capabilities", "tds:Security"});
        if (m_inSecurity) {
            m_offer.emplace();
        }
    }

    void AttributeOf(const Path&, wsd::XmlName name, std::string_view value) override {
        if (!m_inSecurity || !name.namespaceUri.empty()) {
            return;
        }
        if (name.localName == "HttpDigest") {
            m_offer->httpDigest = BooleanText(wsd::TrimmedText(value));
        } else if (name.localName == "UsernameToken") {
            m_offer->usernameToken = BooleanText(wsd::TrimmedText(value));
        }
    }

    void Close(const Path&, std::string_view) override { m_inSecurity = false; }

    bool m_inSecurity = false;
    std::optional<LoginOffer> m_offer;
};

} // namespace

std::optional<LoginOffer> ReadLoginOffer(std::string_view envelope) {
    OfferReader reader;
    if (!reader.Read(envelope).empty()) {
        return std::nullopt;
    }
    return reader.Offer();
}

} // namespace vanmoor::onvif
