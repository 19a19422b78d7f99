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
    // The address checks below are the library's own refusals, checked before sending so that
    // the reason can be told.
    AddressIsZero,
    AddressEndsIn0Or255,
    GatewayOutsideSubnet,
};

struct FormCheck {
    FormProblem problem = FormProblem::None;
    int port = 0; // valid when problem is None
};

inline constexpr std::size_t kMaxNameChars = 18;
inline constexpr int kMaxPort = 65535;
// Bytes of UTF-8 that the records carry: the name, and user name and password each.
inline constexpr std::size_t kMaxNameBytes = 18;
inline constexpr std::size_t kMaxCredentialBytes = 31;

// The port and name checks.
FormCheck CheckSettingsForm(const SettingsForm& form);

// The checks that the library applies to the addresses: an address other than 0.0.0.0 whose
// last number is 1..254, and a gateway in the address's subnet or 0.0.0.0 (no gateway).
FormProblem CheckAddresses(const SettingsForm& form);

// The warning shown for a failed check.
std::u16string FormProblemText(FormProblem problem);

// The records handed to the library for the device with `target`. Texts go as UTF-8, cut at
// character boundaries: the name to 18 bytes, user name and password to 31 bytes and a
// terminating zero.
NetSettings MakeNetSettings(const SettingsForm& form, int port, const MacBytes& target);
AuthNetSettings MakeAuthNetSettings(const SettingsForm& form, int port, const MacBytes& target);

// A device's web page, "http://a.b.c.d:port", when its port lies in 0..kMaxPort.
std::optional<std::string> WebAddress(const Ipv4Octets& ip, int port);

} // namespace vanmoor::settings
