#include "WsdDatagrams.h"

#include "PlatformXmlReader.h"
#include "Protocol.h"

namespace vanmoor::wsd::test {

ParseResult Parse(std::string_view datagram, const Limits& limits) {
    static const auto reader = MakeXmlReader();
    return ParseMessage(datagram, *reader, limits);
}

std::string Envelope(std::string_view header, std::string_view body) {
    return std::string(
               R"(<?xml version="1.0" encoding="UTF-8"?>)"
               R"(<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://www.w3.org/2003/05/soap-envelope")"
               R"( xmlns:wsa="http://schemas.xmlsoap.org/ws/2004/08/addressing")"
               R"( xmlns:wsdd="http://schemas.xmlsoap.org/ws/2005/04/discovery")"
               R"( xmlns:tdn="http://www.onvif.org/ver10/network/wsdl")"
               R"( xmlns:tds="http://www.onvif.org/ver10/device/wsdl">)"
               "<SOAP-ENV:Header>") +
           std::string(header) + "</SOAP-ENV:Header><SOAP-ENV:Body>" + std::string(body) +
           "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string ReplyHeader(std::string_view messageId, std::string_view relatesTo,
                        std::string_view action) {
    return "<wsa:MessageID>" + std::string(messageId) + "</wsa:MessageID><wsa:RelatesTo>" +
           std::string(relatesTo) + "</wsa:RelatesTo><wsa:To SOAP-ENV:mustUnderstand=\"true\">" +
           std::string(kAnonymousAddress) + "</wsa:To><wsa:Action>" + std::string(action) +
           "</wsa:Action>";
}

std::string Match(std::string_view endpoint, std::string_view xaddr) {
    return "<wsa:EndpointReference><wsa:Address>" + std::string(endpoint) +
           "</wsa:Address></wsa:EndpointReference>"
           "<wsdd:Types>tdn:NetworkVideoTransmitter</wsdd:Types>"
           "<wsdd:Scopes>onvif://www.onvif.org/name/Camera</wsdd:Scopes><wsdd:XAddrs>" +
           std::string(xaddr) + "</wsdd:XAddrs><wsdd:MetadataVersion>1</wsdd:MetadataVersion>";
}

std::string ProbeMatches(std::string_view messageId, std::string_view relatesTo,
                         std::string_view endpoint, std::string_view xaddr) {
    return Envelope(ReplyHeader(messageId, relatesTo, kProbeMatchesAction),
                    "<wsdd:ProbeMatches><wsdd:ProbeMatch>" + Match(endpoint, xaddr) +
                        "</wsdd:ProbeMatch></wsdd:ProbeMatches>");
}

} // namespace vanmoor::wsd::test
