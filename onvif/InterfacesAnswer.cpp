#include "InterfacesAnswer.h"

#include "AnswerReader.h"

#include <vector>

namespace vanmoor::onvif {

namespace {

struct PrefixedAddress {
    std::optional<Ipv4Octets> address;
    std::optional<int> prefixLength;
};

struct NetworkInterface {
    std::optional<std::string> token;
    bool enabled = false;
    std::optional<MacBytes> mac;
    bool ipv4Enabled = false;
    bool dhcp = false;
    std::optional<PrefixedAddress> manual;
    std::optional<PrefixedAddress> fromDhcp;

    const std::optional<PrefixedAddress>& InUse() const {
        return dhcp && fromDhcp ? fromDhcp : (manual ? manual : fromDhcp);
    }
    std::optional<Ipv4Octets> Address() const { return InUse() ? InUse()->address : std::nullopt; }
};

class InterfacesReader final : public AnswerReader {
public:
    InterfacesReader() : AnswerReader("GetNetworkInterfacesResponse") {}
    std::vector<NetworkInterface> interfaces;

private:
    // The interface that `path` lies within, when it is one that is looked at.
    NetworkInterface* Current(const Path& path) {
        return path.size() > 1 && !m_skipped && !interfaces.empty() ? &interfaces.back() : nullptr;
    }

    void Open(const Path& path) override {
        if (At(path, {"tds:NetworkInterfaces"})) {
            m_skipped = interfaces.size() == kMaxInterfaces;
            if (!m_skipped) {
                interfaces.emplace_back();
            }
        } else if (At(path, {"tds:NetworkInterfaces", "tt:IPv4", "tt:Config", "tt:Manual"})) {
            // The first manual address counts.
            m_inManual = Current(path) && !Current(path)->manual;
            m_address = {};
        } else if (At(path, {"tds:NetworkInterfaces", "tt:IPv4", "tt:Config", "tt:FromDHCP"})) {
            m_address = {};
        }
    }

    void AttributeOf(const Path& path, wsd::XmlName name, std::string_view value) override {
        if (At(path, {"tds:NetworkInterfaces"}) && name.namespaceUri.empty() &&
            name.localName == "token" && !m_skipped) {
            interfaces.back().token = WordText(value);
            if (!interfaces.back().token) {
                Refuse("an interface token with white space or control characters");
            }
        }
    }

    void Close(const Path& path, std::string_view text) override {
        NetworkInterface* current = Current(path);
        if (!current) {
            return;
        }
        if (At(path, {"tds:NetworkInterfaces", "tt:Enabled"})) {
            current->enabled = Boolean(text);
        } else if (At(path, {"tds:NetworkInterfaces", "tt:Info", "tt:HwAddress"})) {
            current->mac = settings::ParseMacText(text);
            if (!current->mac) {
                Refuse("a hardware address that is no MAC address");
            }
        } else if (At(path, {"tds:NetworkInterfaces", "tt:IPv4", "tt:Enabled"})) {
            current->ipv4Enabled = Boolean(text);
        } else if (At(path, {"tds:NetworkInterfaces", "tt:IPv4", "tt:Config", "tt:DHCP"})) {
            current->dhcp = Boolean(text);
        } else if (path.size() == 5) {
            ReadAddressPart(path, text);
        } else if (At(path, {"tds:NetworkInterfaces", "tt:IPv4", "tt:Config", "tt:Manual"})) {
            if (m_inManual) {
                current->manual = m_address;
            }
            m_inManual = false;
        } else if (At(path, {"tds:NetworkInterfaces", "tt:IPv4", "tt:Config", "tt:FromDHCP"})) {
            current->fromDhcp = m_address;
        }
    }

    void ReadAddressPart(const Path& path, std::string_view text) {
        for (const char* kind : {"tt:Manual", "tt:FromDHCP"}) {
            if (At(path, {"tds:NetworkInterfaces", "tt:IPv4", "tt:Config", kind, "tt:Address"})) {
                m_address.address = settings::ParseDottedAddress(text);
                if (!m_address.address) {
                    Refuse("an interface address that is no IPv4 address");
                }
            } else if (At(path, {"tds:NetworkInterfaces", "tt:IPv4", "tt:Config", kind,
                                 "tt:PrefixLength"})) {
                const auto prefix = IntegerText(text, 0, 32);
                if (!prefix) {
                    Refuse("a prefix length out of 0..32");
                }
                m_address.prefixLength =
                    prefix ? std::optional<int>(static_cast<int>(*prefix)) : std::nullopt;
            }
        }
    }

    bool Boolean(std::string_view text) {
        const auto value = BooleanText(text);
        if (!value) {
            Refuse("a boolean that is neither true nor false");
        }
        return value.value_or(false);
    }

    bool m_skipped = false;
    bool m_inManual = false;
    PrefixedAddress m_address;
};

const NetworkInterface* Choose(const std::vector<NetworkInterface>& interfaces,
                               const std::optional<Ipv4Octets>& reachedAt) {
    for (const NetworkInterface& candidate : interfaces) {
        if (reachedAt && ((candidate.manual && candidate.manual->address == reachedAt) ||
                          (candidate.fromDhcp && candidate.fromDhcp->address == reachedAt))) {
            return &candidate;
        }
    }
    for (const NetworkInterface& candidate : interfaces) {
        if (candidate.enabled && candidate.ipv4Enabled && candidate.Address()) {
            return &candidate;
        }
    }
    return nullptr;
}

} // namespace

std::string ReadNetworkInterfaces(std::string_view envelope,
                                  const std::optional<Ipv4Octets>& reachedAt,
                                  CameraSettings& into) {
    InterfacesReader reader;
    std::string problem = reader.Read(envelope);
    if (!problem.empty()) {
        return problem;
    }
    const NetworkInterface* chosen = Choose(reader.interfaces, reachedAt);
    if (!chosen) {
        return "no enabled interface has an IPv4 address";
    }
    into.mac = chosen->mac;
    into.interfaceToken = chosen->token;
    into.dhcp = chosen->dhcp;
    into.address = chosen->Address();
    into.prefixLength = chosen->InUse() ? chosen->InUse()->prefixLength : std::nullopt;
    return {};
}

} // namespace vanmoor::onvif
