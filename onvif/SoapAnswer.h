#pragma once

#include "QualifiedName.h"
#include "ReadError.h"
#include "XmlReader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::onvif {

// A SOAP 1.2 fault: its Code's Value and the Values of the Subcodes nested in it, resolved to
// namespace and local name whatever prefixes the camera chose, and its first Reason Text.
struct SoapFault {
    std::vector<wsd::QualifiedName> codes; // Code first, then each Subcode inward (bounded)
    std::string innermostCode;             // the innermost Value's text as sent
    std::string reason;                    // untrusted, trimmed and cut to a bound

    bool Has(std::string_view namespaceUri, std::string_view localName) const;
};

struct SoapAnswer {
    wsd::ReadError error = wsd::ReadError::None; // NotSoapEnvelope: well-formed but no envelope
    std::optional<SoapFault> fault;              // the Body holds a Fault
};

// Reads an answer of the device service: whether it is a SOAP 1.2 envelope and, if its Body
// holds a Fault, the fault. The document is untrusted: no DTD, at most `maxBytes`, bounded depth.
SoapAnswer ReadSoapAnswer(std::string_view document, const wsd::XmlReader& reader,
                          std::size_t maxBytes);

} // namespace vanmoor::onvif
