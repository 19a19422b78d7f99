#include "ReadError.h"

namespace vanmoor::wsd {

const char* ReadErrorText(ReadError error) {
    switch (error) {
    case ReadError::None:
        return "read";
    case ReadError::TooLarge:
        return "datagram too large";
    case ReadError::Malformed:
        return "malformed XML";
    case ReadError::Doctype:
        return "document type declaration refused";
    case ReadError::TooDeep:
        return "elements nested too deep";
    case ReadError::UnboundPrefix:
        return "undeclared namespace prefix";
    case ReadError::NotSoapEnvelope:
        return "not a SOAP envelope";
    case ReadError::NoDiscoveryBody:
        return "no discovery message in the body";
    }
    return "unknown";
}

} // namespace vanmoor::wsd
