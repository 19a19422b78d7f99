// Fuzz target: one answer of a camera's device service, given to every answer reader. Each
// reader either fills the record within its bounds or refuses and leaves the record as it was;
// and whatever was read, the requests of a change built from it are well-formed XML.
#include "FuzzCheck.h"

#include "AnswerReader.h"
#include "ChangePlan.h"
#include "DeviceAnswers.h"
#include "DnsAnswer.h"
#include "InterfacesAnswer.h"
#include "PlatformXmlReader.h"
#include "ScopesAnswer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace {

using namespace vanmoor::onvif;
using vanmoor::fuzz::Require;

class Ignore final : public vanmoor::wsd::XmlHandler {
public:
    void StartElement(vanmoor::wsd::XmlName, const vanmoor::wsd::NamespaceStack&) override {}
    void Text(std::string_view) override {}
    void EndElement(const vanmoor::wsd::NamespaceStack&) override {}
};

void CheckText(const std::optional<std::string>& text) {
    Require(!text || text->size() <= kMaxTextBytes, "texts are cut to the bound");
}

void CheckBounds(const CameraSettings& read) {
    for (const auto* text : {&read.interfaceToken, &read.hostname, &read.manufacturer, &read.model,
                             &read.firmware, &read.serial, &read.hardwareId, &read.name}) {
        CheckText(*text);
    }
    Require(!read.prefixLength || (*read.prefixLength >= 0 && *read.prefixLength <= 32),
            "a prefix length is 0..32");
    Require(!read.dns || (read.dns->manualServers.size() <= kMaxDnsServers &&
                          read.dns->dhcpServers.size() <= kMaxDnsServers &&
                          read.dns->searchDomains.size() <= kMaxSearchDomains),
            "DNS lists stay within their bound");
    if (read.http) {
        for (const std::uint16_t port : read.http->ports) {
            Require(port != 0, "ports are 1..65535");
        }
    }
    Require(!read.configurableScopes || read.configurableScopes->size() <= kMaxScopes,
            "scopes stay within their bound");
}

// Every request of a change of every field, built from what was read, parses.
void CheckChangeRequests(const CameraSettings& read) {
    static const auto reader = vanmoor::wsd::MakeXmlReader();
    const auto address = vanmoor::settings::ParseDottedAddress("192.0.2.20");
    SettingsChange change;
    change.address = change.gateway = change.dns2 = address;
    change.netmask = vanmoor::settings::ParseDottedAddress("255.255.255.0");
    change.httpPort = 8080;
    change.name = "N<&>";
    change.dhcp = false;
    for (const PlannedStep& step : PlanChange(read, change).steps) {
        Ignore ignore;
        Require(reader->Read(step.request.body, kMaxAnswerBytes, kMaxAnswerDepth, ignore) ==
                    vanmoor::wsd::ReadError::None,
                "requests built from an answer are well-formed");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    using Reader = std::function<std::string(std::string_view, CameraSettings&)>;
    const Reader readers[] = {
        ReadDeviceInformation,
        [](std::string_view envelope, CameraSettings& into) {
            return ReadNetworkInterfaces(envelope,
                                         vanmoor::settings::ParseDottedAddress("192.0.2.10"), into);
        },
        ReadDefaultGateway,
        ReadDns,
        ReadHostname,
        ReadNetworkProtocols,
        ReadScopes,
    };
    // What a camera showed before: the answer replaces its part, and a change is built on it.
    CameraSettings all;
    all.interfaceToken = "eth0";
    all.dhcp = true;
    all.address = vanmoor::settings::ParseDottedAddress("192.0.2.10");
    all.prefixLength = 24;
    all.dns = DnsSettings{};
    all.http = HttpProtocol{true, {80}};
    all.configurableScopes.emplace();
    for (const Reader& reader : readers) {
        CameraSettings read;
        read.hostname = "before";
        const CameraSettings before = read;
        if (!reader(answer, read).empty()) {
            Require(read == before, "a refused answer leaves the record as it was");
        }
        CheckBounds(read);
        reader(answer, all);
    }
    CheckChangeRequests(all);
    bool rebootNeeded = true;
    if (!ReadRebootNeeded(answer, rebootNeeded).empty()) {
        Require(rebootNeeded, "a refused answer leaves what it would tell as it was");
    }
    return 0;
}
