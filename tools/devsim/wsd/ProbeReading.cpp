#include "ProbeReading.h"

#include "MessageParser.h"
#include "PugiXmlReader.h"

namespace vanmoor::devsim {

bool ReadProbe(std::string_view datagram, ProbeRequest& probe) {
    static const wsd::PugiXmlReader reader;
    wsd::ParseResult parsed = wsd::ParseMessage(datagram, reader);
    if (parsed.error != wsd::ReadError::None || parsed.message.kind != wsd::MessageKind::Probe) {
        return false;
    }
    probe.messageId = std::move(parsed.message.messageId);
    probe.types.clear();
    if (!parsed.message.targets.empty()) {
        probe.types = std::move(parsed.message.targets.front().types);
    }
    return true;
}

} // namespace vanmoor::devsim
