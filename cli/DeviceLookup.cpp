#include "DeviceLookup.h"

#include "ExitStatus.h"

#include <algorithm>
#include <cctype>

namespace vanmoor::cli {

namespace {

std::string KeyText(const DeviceKey& key) {
    if (key.ip) {
        return settings::DottedText(*key.ip);
    }
    return key.mac ? settings::MacColonText(*key.mac) : key.endpoint;
}

} // namespace

bool Matches(const DeviceInfo& device, const DeviceKey& key) {
    if (key.mac) {
        return device.mac == key.mac;
    }
    if (key.ip) {
        return device.AddressKnown() && device.ip == *key.ip;
    }
    return device.wsd && device.wsd->endpoint == key.endpoint;
}

MacBytes ParseMacArgument(const std::string& text) {
    const auto mac = settings::ParseMacText(text);
    if (!mac) {
        throw UsageError("'" + text + "' is not a MAC address (like 02:00:5e:00:01:01)");
    }
    return *mac;
}

DeviceKey ParseDeviceArgument(const std::string& text) {
    if (const auto mac = settings::ParseMacText(text)) {
        return {*mac, {}, std::nullopt};
    }
    if (IsEndpointReference(text)) {
        return {std::nullopt, text, std::nullopt};
    }
    if (const auto ip = settings::ParseDottedAddress(text)) {
        return {std::nullopt, {}, *ip};
    }
    throw UsageError("'" + text +
                     "' is neither a MAC address (like 02:00:5e:00:01:01), an endpoint "
                     "reference (like urn:uuid:5ca1ab1e-0000-4000-8000-02005e000101) nor an "
                     "IPv4 address");
}

DeviceInfo FindDevice(Session& session, const MacBytes& mac) {
    auto device = session.Find(mac);
    if (!device) {
        throw CliError(ExitStatus::Failed,
                       "no device " + settings::MacColonText(mac) + " answered the search");
    }
    return std::move(*device);
}

DeviceInfo FindDevice(Session& session, const DeviceKey& key) {
    for (DeviceInfo& device : session.Search()) {
        if (Matches(device, key)) {
            return std::move(device);
        }
    }
    throw CliError(ExitStatus::Failed, "no device " + KeyText(key) + " answered the search");
}

} // namespace vanmoor::cli
