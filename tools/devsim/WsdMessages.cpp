#include "WsdMessages.h"

#include "AddressText.h"
#include "MarkupText.h"
#include "Protocol.h"

#include <algorithm>
#include <cstdio>

namespace vanmoor::devsim {

namespace {

std::string Joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        out += (out.empty() ? "" : " ") + Escaped(item);
    }
    return out;
}

// The envelope with the type namespaces declared as t0, t1, ... for the Types QNames.
std::string Envelope(const std::vector<wsd::QualifiedName>& types, std::string_view header,
                     std::string_view body) {
    std::string text = R"(<?xml version="1.0" encoding="UTF-8"?><s:Envelope xmlns:s=")";
    text += wsd::kSoapEnvelopeNamespace;
    text += R"(" xmlns:a=")";
    text += wsd::kAddressingNamespace;
    text += R"(" xmlns:d=")";
    text += wsd::kDiscoveryNamespace;
    text += '"';
    for (std::size_t i = 0; i < types.size(); ++i) {
        text += " xmlns:t" + std::to_string(i) + "=\"" + Escaped(types[i].namespaceUri) + '"';
    }
    text += "><s:Header>";
    text += header;
    text += "</s:Header><s:Body>";
    text += body;
    text += "</s:Body></s:Envelope>";
    return text;
}

std::string Header(std::string_view action, std::string_view messageId, std::string_view relatesTo,
                   std::string_view to) {
    std::string text = "<a:Action>" + std::string(action) + "</a:Action><a:MessageID>" +
                       Escaped(messageId) + "</a:MessageID>";
    if (!relatesTo.empty()) {
        text += "<a:RelatesTo>" + Escaped(relatesTo) + "</a:RelatesTo>";
    }
    return text + "<a:To>" + std::string(to) + "</a:To>";
}

// The device's description inside ProbeMatch, Hello and (endpoint only) Bye.
std::string Description(const SimDevice& device, const std::vector<wsd::QualifiedName>& types,
                        bool full) {
    std::string text = "<a:EndpointReference><a:Address>" + Escaped(WsdEndpoint(device)) +
                       "</a:Address></a:EndpointReference>";
    if (!full) {
        return text;
    }
    text += "<d:Types>";
    for (std::size_t i = 0; i < types.size(); ++i) {
        text += (i == 0 ? "t" : " t") + std::to_string(i) + ":" + Escaped(types[i].localName);
    }
    text += "</d:Types><d:Scopes>" + Joined(WsdScopes(device)) + "</d:Scopes><d:XAddrs>" +
            Joined(WsdXAddrs(device)) + "</d:XAddrs><d:MetadataVersion>" +
            std::to_string(device.wsd.metadataVersion) + "</d:MetadataVersion>";
    return text;
}

std::string Announcement(const SimDevice& device, std::string_view messageId,
                         std::string_view action, std::string_view element, bool full) {
    const auto types = WsdTypes(device);
    return Envelope(types, Header(action, messageId, {}, wsd::kDiscoveryTo),
                    "<d:" + std::string(element) + ">" + Description(device, types, full) +
                        "</d:" + std::string(element) + ">");
}

} // namespace

std::optional<wsd::QualifiedName> ParseWsdType(std::string_view text) {
    if (text.starts_with('{')) {
        const std::size_t close = text.find('}');
        if (close == std::string_view::npos || close == 1 || close + 1 == text.size()) {
            return std::nullopt;
        }
        return wsd::QualifiedName{std::string(text.substr(1, close - 1)),
                                  std::string(text.substr(close + 1))};
    }
    for (const auto& [prefix, type] :
         {std::pair{std::string_view("tdn:"), &wsd::kNetworkVideoTransmitter},
          std::pair{std::string_view("tds:"), &wsd::kDeviceType}}) {
        if (text.starts_with(prefix) && text.size() > prefix.size()) {
            return wsd::QualifiedName{type->namespaceUri, std::string(text.substr(prefix.size()))};
        }
    }
    return std::nullopt;
}

std::string WsdEndpoint(const SimDevice& device) {
    if (!device.wsd.endpoint.empty()) {
        return device.wsd.endpoint;
    }
    char text[64];
    std::snprintf(text, sizeof text, "urn:uuid:5ca1ab1e-0000-4000-8000-%02x%02x%02x%02x%02x%02x",
                  device.mac[0], device.mac[1], device.mac[2], device.mac[3], device.mac[4],
                  device.mac[5]);
    return text;
}

std::vector<wsd::QualifiedName> WsdTypes(const SimDevice& device) {
    if (device.wsd.types.empty()) {
        return {wsd::kNetworkVideoTransmitter, wsd::kDeviceType};
    }
    std::vector<wsd::QualifiedName> types;
    for (const std::string& text : device.wsd.types) {
        if (const auto type = ParseWsdType(text)) {
            types.push_back(*type);
        }
    }
    return types;
}

std::vector<std::string> WsdScopes(const SimDevice& device) {
    if (!device.wsd.scopes.empty()) {
        return device.wsd.scopes;
    }
    std::vector<std::string> scopes{"onvif://www.onvif.org/type/video_encoder"};
    if (!device.name.empty()) {
        scopes.push_back("onvif://www.onvif.org/name/" + PercentEncoded(device.name));
    }
    return scopes;
}

std::vector<std::string> WsdXAddrs(const SimDevice& device) {
    if (!device.wsd.xaddrs.empty()) {
        return device.wsd.xaddrs;
    }
    const std::string port = device.webPort == 80 ? "" : ":" + std::to_string(device.webPort);
    return {"http://" + FormatIpv4(device.ip) + port + "/onvif/device_service"};
}

bool MatchesTypes(const SimDevice& device, const std::vector<wsd::QualifiedName>& wanted) {
    const auto offered = WsdTypes(device);
    return std::all_of(wanted.begin(), wanted.end(), [&](const wsd::QualifiedName& type) {
        return std::find(offered.begin(), offered.end(), type) != offered.end();
    });
}

std::string ProbeMatchesMessage(const SimDevice& device, std::string_view messageId,
                                std::string_view relatesTo) {
    const auto types = WsdTypes(device);
    return Envelope(types,
                    Header(wsd::kProbeMatchesAction, messageId, relatesTo, wsd::kAnonymousAddress),
                    "<d:ProbeMatches><d:ProbeMatch>" + Description(device, types, true) +
                        "</d:ProbeMatch></d:ProbeMatches>");
}

std::string HelloMessage(const SimDevice& device, std::string_view messageId) {
    return Announcement(device, messageId, wsd::kHelloAction, "Hello", true);
}

std::string ByeMessage(const SimDevice& device, std::string_view messageId) {
    return Announcement(device, messageId, wsd::kByeAction, "Bye", false);
}

} // namespace vanmoor::devsim
