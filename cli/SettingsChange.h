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

// Reads the options; throws a usage error for a malformed address or DHCP switch, for a port
// that the shared checks refuse and for a name that no settings command carries, before anything
// is searched or sent.
SettingsChange ReadSettingsChange(const Arguments& arguments);

// The shared warning for a failed check, as UTF-8.
std::string ProblemMessage(settings::FormProblem problem);

// Why the name of `form` cannot go to a device that does or does not take credentials, for a
// problem of CheckNameFits: the given name's bytes, or the device's own name left unchanged.
std::string NameProblemMessage(settings::FormProblem problem, const settings::SettingsForm& form,
                               bool takesCredentials);

// The device's current settings with the change laid over them. A name not given goes back as
// the bytes the device sent.
settings::SettingsForm MakeForm(const DeviceInfo& device, const SettingsChange& change);

// The settings records as fields, for --dry-run: the password is never shown.
Record SettingsRecord(const NetSettings& settings);
Record SettingsRecord(const AuthNetSettings& settings);

} // namespace vanmoor::cli
