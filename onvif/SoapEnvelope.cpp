#include "SoapEnvelope.h"

namespace vanmoor::onvif {

std::string SoapEnvelope(std::string_view body, std::string_view header) {
    std::string envelope = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><s:Envelope xmlns:s=\"";
    envelope += kSoap12Namespace;
    envelope += "\">";
    if (!header.empty()) {
        envelope += "<s:Header>";
        envelope += header;
        envelope += "</s:Header>";
    }
    envelope += "<s:Body>";
    envelope += body;
    envelope += "</s:Body></s:Envelope>";
    return envelope;
}

std::string SoapContentType(std::string_view action) {
    return "application/soap+xml; charset=utf-8; action=\"" + std::string(action) + '"';
}

} // namespace vanmoor::onvif
