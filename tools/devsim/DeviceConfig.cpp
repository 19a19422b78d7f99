#include "DeviceConfig.h"

#include "AddressText.h"
#include "WsdMessages.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <stdexcept>

namespace vanmoor::devsim {

namespace {

struct Setting {
    std::string_view key;
    std::string_view value;
};

[[noreturn]] void Refuse(const Setting& setting, const std::string& why) {
    throw std::invalid_argument(std::string(setting.key) + "=" + std::string(setting.value) + ": " +
                                why);
}

std::int64_t Number(const Setting& setting, std::int64_t min, std::int64_t max) {
    std::int64_t value = 0;
    const char* end = setting.value.data() + setting.value.size();
    const auto [next, error] = std::from_chars(setting.value.data(), end, value);
    if (error != std::errc() || next != end || value < min || value > max) {
        Refuse(setting,
               "expected a number from " + std::to_string(min) + " to " + std::to_string(max));
    }
    return value;
}

Ipv4 Address(const Setting& setting) {
    const std::optional<Ipv4> address = ParseIpv4(setting.value);
    if (!address) {
        Refuse(setting, "expected an IPv4 address like 192.0.2.10");
    }
    return *address;
}

template <typename T>
T Choice(const Setting& setting, std::initializer_list<std::pair<std::string_view, T>> choices) {
    for (const auto& [word, value] : choices) {
        if (setting.value == word) {
            return value;
        }
    }
    std::string names;
    for (const auto& choice : choices) {
        names += (names.empty() ? "" : "|") + std::string(choice.first);
    }
    Refuse(setting, "expected " + names);
}

std::array<std::uint8_t, 4> CodeBytes(const Setting& setting) {
    std::array<std::uint8_t, 4> code{};
    const bool hex = setting.value.size() == 8 &&
                     std::all_of(setting.value.begin(), setting.value.end(), [](char c) {
                         return std::isxdigit(static_cast<unsigned char>(c));
                     });
    if (!hex) {
        Refuse(setting, "expected eight hexadecimal digits");
    }
    for (std::size_t i = 0; i < code.size(); ++i) {
        std::from_chars(setting.value.data() + 2 * i, setting.value.data() + 2 * i + 2, code[i],
                        16);
    }
    return code;
}

// "4022", "32970", "3702", or one device protocol and 3702 parted by a comma.
void SetProtocols(SimDevice& device, const Setting& setting) {
    bool deviceProtocol = false;
    bool wsd = false;
    for (std::size_t start = 0; start <= setting.value.size();) {
        const std::size_t comma = std::min(setting.value.find(',', start), setting.value.size());
        const std::string_view item = setting.value.substr(start, comma - start);
        if (item == "3702" && !wsd) {
            wsd = true;
        } else if ((item == "4022" || item == "32970") && !deviceProtocol) {
            deviceProtocol = true;
            device.protocol = item == "4022" ? Protocol::Port4022 : Protocol::Port32970;
        } else {
            Refuse(setting, "expected 4022, 32970 or 3702, or one of the first two and 3702 "
                            "parted by a comma");
        }
        start = comma + 1;
    }
    device.answersDeviceProtocol = deviceProtocol;
    device.wsd.enabled = wsd;
}

// A blank-separated list, such as the scopes or transport addresses of a device.
std::vector<std::string> Items(const Setting& setting) {
    std::vector<std::string> items;
    for (std::size_t start = 0; start < setting.value.size();) {
        const std::size_t blank = std::min(setting.value.find(' ', start), setting.value.size());
        if (blank > start) {
            items.emplace_back(setting.value.substr(start, blank - start));
        }
        start = blank + 1;
    }
    return items;
}

std::vector<std::string> Types(const Setting& setting) {
    std::vector<std::string> types = Items(setting);
    for (const std::string& type : types) {
        if (!ParseWsdType(type)) {
            Refuse(setting, "expected types like tdn:NetworkVideoTransmitter, tds:Device or "
                            "{http://example.com/ns}Camera");
        }
    }
    return types;
}

// Applies one WS-Discovery setting; false for a key that is none.
bool ApplyWsd(WsdSettings& wsd, const Setting& setting) {
    const std::string_view key = setting.key;
    if (key == "endpoint") {
        wsd.endpoint = setting.value;
    } else if (key == "types") {
        wsd.types = Types(setting);
    } else if (key == "scopes") {
        wsd.scopes = Items(setting);
    } else if (key == "xaddrs") {
        wsd.xaddrs = Items(setting);
    } else if (key == "metadata") {
        wsd.metadataVersion = static_cast<std::uint32_t>(Number(setting, 0, 4'294'967'295));
    } else if (key == "wsd_hostile") {
        wsd.hostile =
            Choice<WsdHostile>(setting, {{"none", WsdHostile::None},
                                         {"malformed", WsdHostile::Malformed},
                                         {"oversized", WsdHostile::Oversized},
                                         {"doctype", WsdHostile::Doctype},
                                         {"twice", WsdHostile::Twice},
                                         {"foreign-relates", WsdHostile::ForeignRelates}});
    } else if (key == "wsd_probes") {
        wsd.probes = Choice<WsdProbes>(
            setting, {{"all", WsdProbes::All}, {"unicast", WsdProbes::UnicastOnly}});
    } else if (key == "wsd_ignore") {
        wsd.probesToIgnore = static_cast<unsigned>(Number(setting, 0, 1'000'000));
    } else {
        return false;
    }
    return true;
}

bool OnOff(const Setting& setting) {
    return Choice<bool>(setting, {{"0", false}, {"1", true}, {"off", false}, {"on", true}});
}

// Applies one web service setting; false for a key that is none.
bool ApplyService(ServiceSettings& service, const Setting& setting) {
    const std::string_view key = setting.key;
    if (key == "service") {
        service.enabled = OnOff(setting);
    } else if (key == "login") {
        service.login = Choice<ServiceLogin>(setting, {{"digest", ServiceLogin::Digest},
                                                       {"wsse", ServiceLogin::UsernameToken},
                                                       {"both", ServiceLogin::Both}});
    } else if (key == "clock") {
        service.clockOffsetSeconds = Number(setting, -4'000'000'000, 4'000'000'000);
    } else if (key == "reboot_needed") {
        service.rebootNeeded = OnOff(setting);
    } else if (key == "reboot_pause") {
        service.rebootPause = std::chrono::milliseconds(Number(setting, 0, 600'000));
    } else if (key == "changes") {
        service.changes = Choice<ServiceChanges>(setting, {{"apply", ServiceChanges::Apply},
                                                           {"ignore", ServiceChanges::Ignore},
                                                           {"drop", ServiceChanges::Drop}});
    } else if (key == "service_hostile") {
        service.hostile =
            Choice<ServiceHostile>(setting, {{"none", ServiceHostile::None},
                                             {"huge", ServiceHostile::Huge},
                                             {"endless", ServiceHostile::Endless},
                                             {"drip", ServiceHostile::Drip},
                                             {"doctype", ServiceHostile::Doctype},
                                             {"redirect", ServiceHostile::Redirect},
                                             {"odd-fault", ServiceHostile::OddFault}});
    } else if (key == "serial") {
        service.serial = setting.value;
    } else if (key == "hardware") {
        service.hardware = setting.value;
    } else {
        return false;
    }
    return true;
}

// Applies one setting; false for a key that does not exist.
bool Apply(SimDevice& device, const Setting& setting) {
    const std::string_view key = setting.key;
    if (key == "protocol") {
        SetProtocols(device, setting);
    } else if (ApplyWsd(device.wsd, setting) || ApplyService(device.service, setting)) {
        return true;
    } else if (key == "mac") {
        const std::optional<Mac> mac = ParseMac(setting.value);
        if (!mac) {
            Refuse(setting, "expected a MAC address like 02:00:5e:00:00:01");
        }
        device.mac = *mac;
    } else if (key == "ip") {
        device.ip = Address(setting);
    } else if (key == "netmask") {
        device.netmask = Address(setting);
    } else if (key == "gateway") {
        device.gateway = Address(setting);
    } else if (key == "dns1") {
        device.dns1 = Address(setting);
    } else if (key == "dns2") {
        device.dns2 = Address(setting);
    } else if (key == "name") {
        device.name = setting.value;
    } else if (key == "port") {
        device.webPort = static_cast<std::int32_t>(Number(setting, 0, kMaxPort));
    } else if (key == "port2") {
        device.secondPort = static_cast<std::int32_t>(Number(setting, 0, kMaxPort));
    } else if (key == "dhcp") {
        device.dhcp = OnOff(setting);
    } else if (key == "type") {
        device.type = static_cast<std::uint8_t>(Number(setting, 0, 255));
    } else if (key == "code") {
        device.code = CodeBytes(setting);
    } else if (key == "version") {
        device.version = setting.value;
    } else if (key == "brand") {
        device.brand = setting.value;
    } else if (key == "model") {
        device.model = setting.value;
    } else if (key == "camera") {
        device.cameraName = setting.value;
    } else if (key == "length") {
        device.replyLength =
            static_cast<std::size_t>(Number(setting, kMinReplyLength4022, kMaxReplyLength4022));
    } else if (key == "user") {
        device.user = setting.value;
    } else if (key == "password") {
        device.password = setting.value;
    } else if (key == "reply") {
        device.replyMode = Choice<ReplyMode>(setting, {{"broadcast", ReplyMode::Broadcast},
                                                       {"subnet", ReplyMode::SubnetBroadcast},
                                                       {"unicast", ReplyMode::Unicast}});
    } else if (key == "delay") {
        device.replyDelay = std::chrono::milliseconds(Number(setting, 0, 3'600'000));
    } else if (key == "drop") {
        device.commandsToDrop = static_cast<unsigned>(Number(setting, 0, 1'000'000));
    } else {
        return false;
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Splits a description into its settings; quotes are removed from quoted values.
std::vector<Setting> SplitSettings(std::string_view text) {
    std::vector<Setting> settings;
    std::size_t pos = 0;
    while (true) {
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
        if (pos == text.size()) {
            return settings;
        }
        const std::size_t equals = text.find('=', pos);
        const std::size_t blank = std::min(text.find_first_of(" \t\r", pos), text.size());
        if (equals == std::string_view::npos || equals > blank || equals == pos) {
            throw std::invalid_argument("expected key=value at \"" +
                                        std::string(text.substr(pos, blank - pos)) + "\"");
        }
        Setting setting{text.substr(pos, equals - pos), {}};
        pos = equals + 1;
        if (pos < text.size() && text[pos] == '"') {
            const std::size_t close = text.find('"', pos + 1);
            if (close == std::string_view::npos) {
                throw std::invalid_argument(std::string(setting.key) + ": missing closing quote");
            }
            setting.value = text.substr(pos + 1, close - pos - 1);
            pos = close + 1;
            if (pos < text.size() && !IsBlank(text[pos])) {
                throw std::invalid_argument(std::string(setting.key) +
                                            ": text after the closing quote");
            }
        } else {
            const std::size_t end = std::min(text.find_first_of(" \t\r", pos), text.size());
            setting.value = text.substr(pos, end - pos);
            pos = end;
        }
        settings.push_back(setting);
    }
}

} // namespace

SimDevice ParseDevice(std::string_view description, const SimDevice& base, bool requireIdentity) {
    SimDevice device = base;
    bool hasMac = false;
    bool hasIp = false;
    for (const Setting& setting : SplitSettings(description)) {
        if (!Apply(device, setting)) {
            throw std::invalid_argument("unknown setting \"" + std::string(setting.key) + "\"");
        }
        hasMac = hasMac || setting.key == "mac";
        hasIp = hasIp || setting.key == "ip";
    }
    if (requireIdentity && !(hasMac && hasIp)) {
        throw std::invalid_argument("a device needs mac= and ip=");
    }
    CheckDevice(device);
    return device;
}

std::vector<SimDevice> ReadDeviceFile(std::istream& in, const std::string& sourceName) {
    std::vector<SimDevice> devices;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        try {
            devices.push_back(ParseDevice(line));
        } catch (const std::invalid_argument& error) {
            throw std::invalid_argument(sourceName + ":" + std::to_string(number) + ": " +
                                        error.what());
        }
    }
    return devices;
}

std::vector<SimDevice> LoadDeviceFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::invalid_argument(path + ": cannot open");
    }
    return ReadDeviceFile(in, path);
}

} // namespace vanmoor::devsim
