#pragma once

#include "AddressText.h"
#include "vanmoor.h"

#include <optional>
#include <string>

namespace vanmoor::settings {

// New settings for one device as a person gave them: the dialog's fields, or the command line's
// options laid over the device's current values.
struct SettingsForm {
    std::u16string name;
    // When set, the name goes as these bytes, unchanged, and `name` is not used: a name the
    // user left as the device reported it goes back byte for byte, whatever its encoding.
    std::optional<std::string> nameBytes;
    std::u16string portText;
    Ipv4Octets ip{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    bool dhcp = false;
    std::u16string user;
    std::u16string password;
};

// The checks of a submit, in the order they run; the first failure stops the submit.
enum class FormProblem {
    None,
    PortNotInteger,
    NameTooLong,
    PortOutOfRange,
    NameTooManyBytes,   // more bytes than the device's settings command carries
    KeptNameIncomplete, // the device's own name may be longer than its answer showed
};

struct FormCheck {
    FormProblem problem = FormProblem::None;
    int port = 0; // valid when problem is None
};

inline constexpr std::size_t kMaxNameChars = 18;
inline constexpr int kMaxPort = 65535;
// Bytes of name that the settings commands carry, and the most of a name that a device's
// answer shows again (the library keeps 23 bytes of it).
inline constexpr std::size_t kNameBytes4022 = 18;
inline constexpr std::size_t kNameBytes32970 = 32;
inline constexpr std::size_t kShownNameBytes = 23;
// Bytes of UTF-8 that the records carry for user name and password each.
inline constexpr std::size_t kMaxCredentialBytes = 31;

// The dialog's port and name checks: the port an integer, a typed name (not `nameBytes`) at most
// 18 characters, the port in 0..kMaxPort, in that order.
FormCheck CheckSettingsForm(const SettingsForm& form);

// The port check alone: an integer in 0..kMaxPort.
FormCheck CheckPort(std::u16string_view portText);

// The name's bytes as the settings command carries them: `nameBytes` when set, else `name` as
// UTF-8.
std::string NameBytes(const SettingsForm& form);

// The bytes of name that the command of a device carries: 32 for one that takes credentials
// (port 32970), else 18.
std::size_t NameFieldBytes(bool takesCredentials);

// NameTooManyBytes when the name does not fit the command of the device; KeptNameIncomplete
// when `nameBytes` fills all that a port-32970 answer shows, so the device's name may go on
// beyond it and sending it back would cut it; else None. A name is never cut without a word.
FormProblem CheckNameFits(const SettingsForm& form, bool takesCredentials);

// The warning shown for a failed check.
std::u16string FormProblemText(FormProblem problem);

// The records handed to the library for the device with `target`. Texts go as UTF-8, cut at
// character boundaries: the name to its field (CheckNameFits tells beforehand whether it fits),
// user name and password to 31 bytes and a terminating zero. `nameBytes` goes as it stands.
NetSettings MakeNetSettings(const SettingsForm& form, int port, const MacBytes& target);
AuthNetSettings MakeAuthNetSettings(const SettingsForm& form, int port, const MacBytes& target);

// A device's web page, "http://a.b.c.d:port", when its port lies in 0..kMaxPort.
std::optional<std::string> WebAddress(const Ipv4Octets& ip, int port);

} // namespace vanmoor::settings
