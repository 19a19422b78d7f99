#include "SoapChanges.h"

#include "AddressText.h"
#include "MarkupText.h"
#include "SoapAnswers.h"
#include "WsdMessages.h"

#include <charconv>
#include <stdexcept>

namespace vanmoor::devsim {

namespace {

constexpr std::string_view kNameScope = "onvif://www.onvif.org/name/";

Ipv4 Address(const std::string& text) {
    const auto address = ParseIpv4(text);
    if (!address) {
        throw std::invalid_argument("not an IPv4 address: " + text);
    }
    return *address;
}

int Number(const std::string& text, int min, int max) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
        throw std::invalid_argument("not a number from " + std::to_string(min) + " to " +
                                    std::to_string(max) + ": " + text);
    }
    return value;
}

bool Boolean(const std::string& text) {
    if (text != "true" && text != "false" && text != "1" && text != "0") {
        throw std::invalid_argument("not a boolean: " + text);
    }
    return text == "true" || text == "1";
}

Ipv4 Netmask(int prefixLength) {
    Ipv4 mask{};
    for (int bit = 0; bit < prefixLength; ++bit) {
        mask[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(0x80 >> (bit % 8));
    }
    return mask;
}

void ChangeInterface(const SoapRequest& request, SimDevice& device) {
    if (request.Text("InterfaceToken") != "eth0") {
        throw std::invalid_argument("no interface with that token");
    }
    if (const auto dhcp = request.Text("NetworkInterface/IPv4/DHCP")) {
        device.dhcp = Boolean(*dhcp);
    }
    const auto address = request.Text("NetworkInterface/IPv4/Manual/Address");
    if (address && !device.dhcp) {
        device.ip = Address(*address);
        device.netmask = Netmask(
            Number(request.Text("NetworkInterface/IPv4/Manual/PrefixLength").value_or(""), 0, 32));
    }
}

void ChangeDns(const SoapRequest& request, SimDevice& device) {
    if (Boolean(request.Text("FromDHCP").value_or("false"))) {
        return; // the servers stay as the lan's DHCP gave them
    }
    const auto servers = request.Texts("DNSManual/IPv4Address");
    device.dns1 = servers.size() > 0 ? Address(servers[0]) : Ipv4{};
    device.dns2 = servers.size() > 1 ? Address(servers[1]) : Ipv4{};
}

void ChangeProtocols(const SoapRequest& request, SimDevice& device) {
    std::string protocol;
    for (const SoapRequest::Element& element : request.Elements()) {
        if (element.path == "NetworkProtocols/Name") {
            protocol = element.text;
        } else if (element.path == "NetworkProtocols/Port" && protocol == "HTTP") {
            device.webPort = Number(element.text, 1, 65535);
        }
    }
}

void ChangeScopes(const SoapRequest& request, SimDevice& device) {
    std::vector<std::string> scopes;
    for (const std::string& scope : WsdScopes(device)) {
        if (!IsConfigurableScope(scope)) {
            scopes.push_back(scope);
        }
    }
    device.name.clear();
    for (const std::string& scope : request.Texts("Scopes")) {
        if (!IsConfigurableScope(scope)) {
            throw std::invalid_argument("not a configurable scope: " + scope);
        }
        if (scope.starts_with(kNameScope)) {
            device.name = PercentDecoded(std::string_view(scope).substr(kNameScope.size()));
        }
        scopes.push_back(scope);
    }
    device.wsd.scopes = std::move(scopes);
}

} // namespace

bool IsChangeOperation(std::string_view operation) {
    return operation == "SetNetworkInterfaces" || operation == "SetNetworkDefaultGateway" ||
           operation == "SetDNS" || operation == "SetNetworkProtocols" || operation == "SetScopes";
}

SimDevice Changed(const SoapRequest& request, SimDevice device) {
    const std::string& operation = request.Operation();
    if (operation == "SetNetworkInterfaces") {
        ChangeInterface(request, device);
    } else if (operation == "SetNetworkDefaultGateway") {
        const auto gateways = request.Texts("IPv4Address");
        device.gateway = gateways.empty() ? Ipv4{} : Address(gateways[0]);
    } else if (operation == "SetDNS") {
        ChangeDns(request, device);
    } else if (operation == "SetNetworkProtocols") {
        ChangeProtocols(request, device);
    } else if (operation == "SetScopes") {
        ChangeScopes(request, device);
    }
    CheckDevice(device);
    return device;
}

std::string ChangeAnswer(std::string_view operation, bool rebootNeeded) {
    const std::string name = "tds:" + std::string(operation) + "Response";
    if (operation == "SetNetworkInterfaces") {
        return "<" + name + "><tds:RebootNeeded>" + (rebootNeeded ? "true" : "false") +
               "</tds:RebootNeeded></" + name + ">";
    }
    return "<" + name + "/>";
}

} // namespace vanmoor::devsim
