#include "ProbeMessage.h"

#include "Protocol.h"

namespace vanmoor::wsd {

std::string BuildProbe(const QualifiedName& type, std::string_view messageId) {
    std::string probe;
    probe.reserve(1024);
    probe += R"(<?xml version="1.0" encoding="UTF-8"?>)";
    probe += R"(<s:Envelope xmlns:s=")";
    probe += kSoapEnvelopeNamespace;
    probe += R"(" xmlns:a=")";
    probe += kAddressingNamespace;
    probe += R"(" xmlns:d=")";
    probe += kDiscoveryNamespace;
    probe += R"(" xmlns:t=")";
    probe += type.namespaceUri;
    probe += R"("><s:Header><a:Action s:mustUnderstand="1">)";
    probe += kProbeAction;
    probe += "</a:Action><a:MessageID>";
    probe += messageId;
    probe += "</a:MessageID><a:ReplyTo><a:Address>";
    probe += kAnonymousAddress;
    probe += R"(</a:Address></a:ReplyTo><a:To s:mustUnderstand="1">)";
    probe += kDiscoveryTo;
    probe += "</a:To></s:Header><s:Body><d:Probe><d:Types>t:";
    probe += type.localName;
    probe += "</d:Types></d:Probe></s:Body></s:Envelope>";
    return probe;
}

} // namespace vanmoor::wsd
