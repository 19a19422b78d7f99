#include "SettingsChange.h"

#include "ExitStatus.h"
#include "Utf8Text.h"

#include <cstring>

namespace vanmoor::cli {

namespace {

using settings::DottedText;
using settings::FormProblem;

std::optional<Ipv4Octets> AddressOption(const Arguments& arguments, const std::string& option) {
    const std::optional<std::string> text = arguments.Value(option);
    if (!text) {
        return std::nullopt;
    }
    const auto address = settings::ParseDottedAddress(*text);
    if (!address) {
        throw UsageError("option '" + option + "' needs an IPv4 address like 192.0.2.10, not '" +
                         *text + "'");
    }
    return address;
}

template <std::size_t N> std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

template <std::size_t N> std::string Address(const unsigned char (&field)[N]) {
    static_assert(N == 4);
    return DottedText({field[0], field[1], field[2], field[3]});
}

template <typename Settings> Record CommonFields(const Settings& settings, bool dhcp) {
    MacBytes mac{};
    std::memcpy(mac.data(), settings.MAC, mac.size());
    return {
        {"mac", settings::MacColonText(mac)},
        {"ip", Address(settings.IP)},
        {"netmask", Address(settings.netmask)},
        {"gateway", Address(settings.gateway)},
        {"dns1", Address(settings.DNS1)},
        {"dns2", Address(settings.DNS2)},
        {"name", FieldText(settings.name)},
        {"port", static_cast<long long>(settings.port)},
        {"dhcp", dhcp},
    };
}

} // namespace

std::string ProblemMessage(FormProblem problem) {
    const std::u16string text = settings::FormProblemText(problem);
    return "new settings refused: " + settings::Utf8FromUtf16(text, text.size() * 3);
}

const std::vector<std::string>& SettingsOptionNames() {
    static const std::vector<std::string> names = {"--ip",   "--netmask", "--gateway", "--dns1",
                                                   "--dns2", "--name",    "--port",    "--dhcp"};
    return names;
}

SettingsChange ReadSettingsChange(const Arguments& arguments) {
    SettingsChange change;
    change.ip = AddressOption(arguments, "--ip");
    change.netmask = AddressOption(arguments, "--netmask");
    change.gateway = AddressOption(arguments, "--gateway");
    change.dns1 = AddressOption(arguments, "--dns1");
    change.dns2 = AddressOption(arguments, "--dns2");
    change.name = arguments.Value("--name");
    change.port = arguments.Value("--port");
    if (const auto dhcp = arguments.Value("--dhcp")) {
        if (*dhcp != "on" && *dhcp != "off") {
            throw UsageError("option '--dhcp' needs 'on' or 'off', not '" + *dhcp + "'");
        }
        change.dhcp = *dhcp == "on";
    }
    // The port check needs no device, nor does a name too long for either command: run them
    // before any search.
    const FormProblem problem =
        settings::CheckPort(settings::Utf16FromUtf8(change.port.value_or("0"))).problem;
    if (problem != FormProblem::None) {
        throw UsageError(ProblemMessage(problem));
    }
    settings::SettingsForm named;
    named.name = settings::Utf16FromUtf8(change.name.value_or(""));
    if (const FormProblem name = settings::CheckNameFits(named, true); name != FormProblem::None) {
        throw UsageError(NameProblemMessage(name, named, true));
    }
    return change;
}

std::string NameProblemMessage(FormProblem problem, const settings::SettingsForm& form,
                               bool takesCredentials) {
    const std::size_t field = settings::NameFieldBytes(takesCredentials);
    const std::string bytes = std::to_string(settings::NameBytes(form).size());
    if (problem == FormProblem::KeptNameIncomplete) {
        return "the device's name fills the " + bytes +
               " bytes that its answer shows and may go on beyond them: sending it back could "
               "cut it, so give the whole name with --name";
    }
    if (form.nameBytes) {
        return "the device's name is " + bytes + " bytes, more than the " + std::to_string(field) +
               " its settings command carries: give a new name with --name";
    }
    return "new settings refused: the name is " + bytes + " bytes of UTF-8, more than the " +
           std::to_string(field) + " that the device's settings command carries";
}

settings::SettingsForm MakeForm(const DeviceInfo& device, const SettingsChange& change) {
    settings::SettingsForm form;
    if (change.name) {
        form.name = settings::Utf16FromUtf8(*change.name);
    } else {
        form.nameBytes = device.name; // not asked to change: goes back as the device sent it
    }
    form.portText = settings::Utf16FromUtf8(change.port.value_or(std::to_string(device.port)));
    form.ip = change.ip.value_or(device.ip);
    form.netmask = change.netmask.value_or(device.netmask);
    form.gateway = change.gateway.value_or(device.gateway);
    form.dns1 = change.dns1.value_or(device.dns1);
    form.dns2 = change.dns2.value_or(device.dns2);
    form.dhcp = change.dhcp.value_or(device.dhcp);
    return form;
}

Record SettingsRecord(const NetSettings& settings) {
    Record record = CommonFields(settings, settings.bDHCP != 0);
    record.insert(record.begin() + 1, {"protocol", 4022LL});
    return record;
}

Record SettingsRecord(const AuthNetSettings& settings) {
    Record record = CommonFields(settings, settings.DHCP != 0);
    record.insert(record.begin() + 1, {"protocol", 32970LL});
    record.push_back({"user", FieldText(settings.user)});
    return record;
}

} // namespace vanmoor::cli
