#include "CameraForm.h"

#include "Utf8Text.h"

#include <limits>

namespace kestrun {

namespace {

template <typename Value> std::optional<Value> IfChanged(const Value& typed, const Value& shown) {
    return typed != shown ? std::optional<Value>(typed) : std::nullopt;
}

} // namespace

vanmoor::onvif::SettingsChange CameraChangeOfForm(const vanmoor::settings::SettingsForm& form,
                                                  int port,
                                                  const vanmoor::site::SiteDevice& shown) {
    vanmoor::onvif::SettingsChange change;
    change.dhcp = IfChanged(form.dhcp, shown.dhcp);
    if (!form.dhcp) {
        change.address = IfChanged(form.ip, shown.ip);
        change.netmask = IfChanged(form.netmask, shown.netmask);
        change.gateway = IfChanged(form.gateway, shown.gateway);
    }
    change.dns1 = IfChanged(form.dns1, shown.dns1);
    change.dns2 = IfChanged(form.dns2, shown.dns2);
    if (port != shown.port) {
        change.httpPort = static_cast<std::uint16_t>(port);
    }
    change.name = IfChanged(
        vanmoor::settings::Utf8FromUtf16(form.name, std::numeric_limits<std::size_t>::max()),
        shown.name);
    return change;
}

} // namespace kestrun
