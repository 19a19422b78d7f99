#pragma once

#include "AddressText.h"
#include "vanmoor.h"

#include <array>
#include <cstdint>
#include <string>

namespace kestrun {

// The device last clicked in the list: the target of Submit and of the web page.
struct SelectedDevice {
    MacBytes MAC{};
    Ipv4Octets IP{};
    std::array<char, 32> name{}; // as the library delivered it: UTF-8, zero-filled
    std::int32_t port = 0;
    std::uint8_t authenticated = 0; // 1: found on port 32970, settings go with credentials
};

// What the settings fields on the right hold when Submit is pressed.
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

// The checks of Submit, in the order they run; the first failure stops the submit.
enum class FormProblem {
    None,
    PortNotInteger,
    NameTooLong,
    PortOutOfRange,
};

struct FormCheck {
    FormProblem problem = FormProblem::None;
    int port = 0; // valid when problem is None
};

inline constexpr std::size_t kMaxNameChars = 18;
inline constexpr int kMaxPort = 65536;

FormCheck CheckSettingsForm(const SettingsForm& form);

// The warning shown for a failed check.
std::u16string FormProblemText(FormProblem problem);

// The records handed to the library. Texts go as UTF-8, cut at character boundaries: the name
// to 18 bytes, user name and password to 31 bytes and a terminating zero.
NetSettings MakeNetSettings(const SettingsForm& form, int port, const SelectedDevice& target);
AuthNetSettings MakeAuthNetSettings(const SettingsForm& form, int port,
                                    const SelectedDevice& target);

} // namespace kestrun
