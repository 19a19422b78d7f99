#include "SettingsForm.h"

#include "TextTrim.h"
#include "Utf8Text.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>

namespace vanmoor::settings {

namespace {

// An integer as a dialog's integer field takes it: blanks around, an optional sign, digits and
// nothing else, within the range of int.
std::optional<int> ParseInteger(std::u16string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    long long value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

template <std::size_t N>
void CopyText(char (&field)[N], std::u16string_view text, std::size_t max) {
    const std::string bytes = Utf8FromUtf16(text, std::min(max, N));
    std::copy(bytes.begin(), bytes.end(), field);
}

template <std::size_t N>
void CopyBytes(unsigned char (&field)[N], const std::array<std::uint8_t, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), field);
}

// The fields both settings records share.
template <typename Record>
void FillCommonFields(Record& settings, const SettingsForm& form, int port,
                      const MacBytes& target) {
    CopyBytes(settings.IP, form.ip);
    CopyBytes(settings.netmask, form.netmask);
    CopyBytes(settings.gateway, form.gateway);
    CopyBytes(settings.DNS1, form.dns1);
    CopyBytes(settings.DNS2, form.dns2);
    CopyText(settings.name, form.name, kMaxNameBytes);
    CopyBytes(settings.MAC, target);
    settings.port = port;
}

} // namespace

FormCheck CheckSettingsForm(const SettingsForm& form) {
    const std::optional<int> port = ParseInteger(form.portText);
    if (!port) {
        return {FormProblem::PortNotInteger, 0};
    }
    if (form.name.size() > kMaxNameChars) {
        return {FormProblem::NameTooLong, 0};
    }
    if (*port < 0 || *port > kMaxPort) {
        return {FormProblem::PortOutOfRange, 0};
    }
    return {FormProblem::None, *port};
}

FormProblem CheckAddresses(const SettingsForm& form) {
    if (form.ip == Ipv4Octets{}) {
        return FormProblem::AddressIsZero;
    }
    if (form.ip[3] == 0 || form.ip[3] == 255) {
        return FormProblem::AddressEndsIn0Or255;
    }
    if (form.gateway == Ipv4Octets{}) {
        return FormProblem::None;
    }
    for (std::size_t i = 0; i < form.ip.size(); ++i) {
        if ((form.ip[i] & form.netmask[i]) != (form.gateway[i] & form.netmask[i])) {
            return FormProblem::GatewayOutsideSubnet;
        }
    }
    return FormProblem::None;
}

std::u16string FormProblemText(FormProblem problem) {
    switch (problem) {
    case FormProblem::PortNotInteger:
        return u"Please enter an integer.";
    case FormProblem::NameTooLong:
        return u"Please enter no more than 18 characters.";
    case FormProblem::PortOutOfRange:
        return u"Please enter an integer between 0 and 65535.";
    case FormProblem::AddressIsZero:
        return u"The address 0.0.0.0 cannot be set.";
    case FormProblem::AddressEndsIn0Or255:
        return u"The last number of the address must lie between 1 and 254.";
    case FormProblem::GatewayOutsideSubnet:
        return u"The gateway must lie in the address's subnet, or be 0.0.0.0.";
    case FormProblem::None:
        break;
    }
    return {};
}

NetSettings MakeNetSettings(const SettingsForm& form, int port, const MacBytes& target) {
    NetSettings settings{};
    FillCommonFields(settings, form, port, target);
    settings.bDHCP = form.dhcp ? 1 : 0;
    return settings;
}

AuthNetSettings MakeAuthNetSettings(const SettingsForm& form, int port, const MacBytes& target) {
    AuthNetSettings settings{};
    FillCommonFields(settings, form, port, target);
    CopyText(settings.user, form.user, kMaxCredentialBytes);
    CopyText(settings.password, form.password, kMaxCredentialBytes);
    settings.DHCP = form.dhcp ? 1 : 0;
    return settings;
}

std::optional<std::string> WebAddress(const Ipv4Octets& ip, int port) {
    if (port < 0 || port > kMaxPort) {
        return std::nullopt;
    }
    return "http://" + DottedText(ip) + ":" + std::to_string(port);
}

} // namespace vanmoor::settings
