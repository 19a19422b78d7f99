#pragma once

#include "Arguments.h"
#include "DeviceReading.h"
#include "SettingsForm.h"

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::cli {

// The new values that `set` was given; what is not given keeps the device's current value.
struct SettingsChange {
    std::optional<Ipv4Octets> ip;
    std::optional<Ipv4Octets> netmask;
    std::optional<Ipv4Octets> gateway;
    std::optional<Ipv4Octets> dns1;
    std::optional<Ipv4Octets> dns2;
    std::optional<std::string> name; // bytes as given, UTF-8 expected
    std::optional<std::string> port; // text: the shared checks parse it
    std::optional<bool> dhcp;
};

// The option names of SettingsChange.
const std::vector<std::string>& SettingsOptionNames();

// Reads the options; throws a usage error for a malformed address or DHCP switch, and for a
// name or port that the shared checks refuse, before anything is searched or sent.
SettingsChange ReadSettingsChange(const Arguments& arguments);

// The shared warning for a failed check, as UTF-8.
std::string ProblemMessage(settings::FormProblem problem);

// The device's current settings with the change laid over them, as the dialog's fields would
// hold them.
settings::SettingsForm MakeForm(const DeviceInfo& device, const SettingsChange& change);

// The settings records as fields, for --dry-run: the password is never shown.
Record SettingsRecord(const NetSettings& settings);
Record SettingsRecord(const AuthNetSettings& settings);

} // namespace vanmoor::cli
