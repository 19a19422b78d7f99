#pragma once

namespace vanmoor::wsd {

// Why a datagram was not taken as a discovery message.
enum class ReadError {
    None,
    TooLarge,        // longer than the datagram bound
    Malformed,       // not well-formed XML
    Doctype,         // a document type declaration: refused, so no entity is ever expanded
    TooDeep,         // elements nested past the depth bound
    UnboundPrefix,   // an element prefix with no namespace declared for it
    NotSoapEnvelope, // the root is not a SOAP envelope
    NoDiscoveryBody, // the body holds no Probe, ProbeMatches, Hello or Bye
};

const char* ReadErrorText(ReadError error);

} // namespace vanmoor::wsd
