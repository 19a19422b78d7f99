#include "SettingsForm.h"

#include "TextTrim.h"
#include "Utf8Text.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>

namespace vanmoor::settings {

static_assert(sizeof(NetSettings::name) == kNameBytes4022);
static_assert(sizeof(AuthNetSettings::name) == kNameBytes32970);

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

template <std::size_t N> void CopyName(char (&field)[N], const SettingsForm& form) {
    const std::string bytes =
        form.nameBytes ? form.nameBytes->substr(0, N) : Utf8FromUtf16(form.name, N);
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
    CopyName(settings.name, form);
    CopyBytes(settings.MAC, target);
    settings.port = port;
}

} // namespace

FormCheck CheckPort(std::u16string_view portText) {
    const std::optional<int> port = ParseInteger(portText);
    if (!port) {
        return {FormProblem::PortNotInteger, 0};
    }
    if (*port < 0 || *port > kMaxPort) {
        return {FormProblem::PortOutOfRange, 0};
    }
    return {FormProblem::None, *port};
}

FormCheck CheckSettingsForm(const SettingsForm& form) {
    const FormCheck port = CheckPort(form.portText);
    if (port.problem == FormProblem::PortNotInteger) {
        return port;
    }
    // The character limit is for a name typed in; one kept as the device sent it goes back whole.
    if (!form.nameBytes && form.name.size() > kMaxNameChars) {
        return {FormProblem::NameTooLong, 0};
    }
    return port;
}

std::string NameBytes(const SettingsForm& form) {
    return form.nameBytes ? *form.nameBytes : Utf8FromUtf16(form.name, form.name.size() * 3);
}

std::size_t NameFieldBytes(bool takesCredentials) {
    return takesCredentials ? kNameBytes32970 : kNameBytes4022;
}

FormProblem CheckNameFits(const SettingsForm& form, bool takesCredentials) {
    const std::size_t bytes = NameBytes(form).size();
    if (bytes > NameFieldBytes(takesCredentials)) {
        return FormProblem::NameTooManyBytes;
    }
    if (form.nameBytes && takesCredentials && bytes >= kShownNameBytes) {
        return FormProblem::KeptNameIncomplete;
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
    case FormProblem::NameTooManyBytes:
        return u"The name is longer than the device's settings command carries: at most 18 bytes "
               u"of UTF-8, or 32 for a device that takes a user name and password.";
    case FormProblem::KeptNameIncomplete:
        return u"The device's name may be longer than its answer shows. Please enter the whole "
               u"name, so that it is not cut.";
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
