#include "ProtocolChoice.h"

#include "ExitStatus.h"
#include "WsdSearch.h"

#include <sstream>

namespace vanmoor::cli {

ProtocolChoice ProtocolChoice::All() {
    ProtocolChoice all;
    all.wsd = site::WsdSearch::Available();
    return all;
}

bool ProtocolChoice::Admits(int protocol) const {
    return protocol == 32970 ? port32970 : port4022;
}

ProtocolChoice ParseProtocols(const std::string& text) {
    ProtocolChoice chosen{false, false, false};
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        if (item == "4022") {
            chosen.port4022 = true;
        } else if (item == "32970") {
            chosen.port32970 = true;
        } else if (item == "3702") {
            if (!site::WsdSearch::Available()) {
                throw UsageError("this build of vanmoor has no WS-Discovery (protocol 3702)");
            }
            chosen.wsd = true;
        } else {
            throw UsageError("unknown protocol '" + item + "' (4022, 32970 or 3702)");
        }
    }
    if (!chosen.DeviceProtocols() && !chosen.wsd) {
        throw UsageError("--protocol needs at least one of 4022, 32970, 3702");
    }
    return chosen;
}

} // namespace vanmoor::cli
