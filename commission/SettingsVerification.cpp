#include "SettingsVerification.h"

#include "Utf8Text.h"

#include <string_view>

namespace vanmoor::commission {

namespace {

using settings::DottedText;

void Compare(std::vector<std::string>& differences, const std::string& what, std::string_view now,
             std::string_view wanted) {
    if (now != wanted) {
        differences.push_back(what + " is '" + std::string(now) + "', not '" + std::string(wanted) +
                              "'");
    }
}

// The name as the device sends it back: NUL padding dropped.
std::string_view StoredName(const std::string& name) {
    return std::string_view(name).substr(0, name.find('\0'));
}

} // namespace

std::vector<std::string> SettingsDifferences(const SiteDevice& seen,
                                             const settings::SettingsForm& sent, int port) {
    std::vector<std::string> differences;
    if (!sent.dhcp) {
        Compare(differences, "ip", DottedText(seen.ip), DottedText(sent.ip));
        Compare(differences, "netmask", DottedText(seen.netmask), DottedText(sent.netmask));
        Compare(differences, "gateway", DottedText(seen.gateway), DottedText(sent.gateway));
    }
    Compare(differences, "dns1", DottedText(seen.dns1), DottedText(sent.dns1));
    Compare(differences, "dns2", DottedText(seen.dns2), DottedText(sent.dns2));
    // A device's answer shows only the first bytes of a long name.
    Compare(differences, "name", StoredName(seen.name),
            settings::NameBytes(sent).substr(0, settings::kShownNameBytes));
    Compare(differences, "port", std::to_string(seen.port), std::to_string(port));
    Compare(differences, "dhcp", seen.dhcp ? "on" : "off", sent.dhcp ? "on" : "off");
    return differences;
}

} // namespace vanmoor::commission
