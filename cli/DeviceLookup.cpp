#include "DeviceLookup.h"

#include "ExitStatus.h"

namespace vanmoor::cli {

MacBytes ParseMacArgument(const std::string& text) {
    const auto mac = settings::ParseMacText(text);
    if (!mac) {
        throw UsageError("'" + text + "' is not a MAC address (like 02:00:5e:00:01:01)");
    }
    return *mac;
}

DeviceInfo FindDevice(Session& session, const MacBytes& mac) {
    auto device = session.Find(mac);
    if (!device) {
        throw CliError(ExitStatus::Failed,
                       "no device " + settings::MacColonText(mac) + " answered the search");
    }
    return std::move(*device);
}

} // namespace vanmoor::cli
