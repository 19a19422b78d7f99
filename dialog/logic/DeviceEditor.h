#pragma once

#include "LibraryApi.h"
#include "MessageText.h"
#include "SharedSettings.h"

#include <array>
#include <cstdint>
#include <optional>
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

// The settings of one device as the fields on the right show them.
struct DeviceFields {
    bool dhcp = false;
    std::u16string name;
    Ipv4Octets ip{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    int port = 0;
    std::string mac;          // "00:11:22:33:44:55", lower-case digits
    bool credentials = false; // the device takes a user name and password
};

enum class SubmitOutcome {
    Refused,          // a field failed its check; nothing was sent
    AddressesRefused, // no device can work with the addresses; nothing was sent
    Sent,             // the library sent the command: search again to see the device's answer
    Failed,           // the library did not send it; only logged
};

struct SubmitResult {
    SubmitOutcome outcome = SubmitOutcome::Failed;
    FormProblem problem = FormProblem::None;                 // why, when Refused
    std::optional<vanmoor::commission::MessageText> refusal; // why, when AddressesRefused
    int port = 0;                                            // the port sent, when Sent
    SettingsForm sent; // the form as the command carried it, when Sent
};

// The editing side of the dialog: loads a clicked device's settings, submits changed settings
// to it and names its web page.
class DeviceEditor {
public:
    explicit DeviceEditor(const LibraryApi& api);

    // Reads the device with number `deviceNumber` (library index + 1) from the library and makes
    // it the selected device. A number below 1 (a click beside the rows) changes nothing.
    // Queries that miss leave their field empty or 0.0.0.0.
    std::optional<DeviceFields> Load(int deviceNumber);

    // Checks the form (port, name, then the addresses by the rule every path keeps) and sends it
    // to the selected device: with credentials when the device takes them, else plain. A name
    // field that still shows the name as loaded sends the device's own name bytes, not their
    // conversion to text and back.
    SubmitResult Submit(const SettingsForm& form);

    // The web page of the selected device, "http://a.b.c.d:port", when one was selected and its
    // port lies in 0 to 65535. Logs the address asked for either way.
    std::optional<std::string> WebAddress() const;

    const SelectedDevice& Selected() const { return m_Selected; }

private:
    SettingsForm WithUneditedName(SettingsForm form) const;
    int SubmitPlain(const SettingsForm& form, int port);
    int SubmitAuth(const SettingsForm& form, int port);

    const LibraryApi& m_Api;
    SelectedDevice m_Selected;
    bool m_HasSelection = false;
};

} // namespace kestrun
