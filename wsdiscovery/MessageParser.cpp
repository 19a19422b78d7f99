#include "MessageParser.h"

#include "MessageBuilder.h"

namespace vanmoor::wsd {

ParseResult ParseMessage(std::string_view datagram, const XmlReader& reader, const Limits& limits) {
    ParseResult result;
    MessageBuilder builder(result.message, limits);
    result.error = reader.Read(datagram, limits.maxDatagramBytes, limits.maxDepth, builder);
    if (result.error == ReadError::None && !builder.SawEnvelope()) {
        result.error = ReadError::NotSoapEnvelope;
    } else if (result.error == ReadError::None && !builder.SawDiscoveryBody()) {
        result.error = ReadError::NoDiscoveryBody;
    }
    if (result.error != ReadError::None) {
        result.message = {};
    }
    return result;
}

} // namespace vanmoor::wsd
