#include "ChangePlan.h"

#include "NameScope.h"

namespace vanmoor::onvif {

namespace {

// Each adds its step when its settings change; false with `problem` set when it cannot.
bool PlanName(const CameraSettings& read, const SettingsChange& change, ChangePlan& plan) {
    if (!change.name || change.name == read.name) {
        return true;
    }
    // An empty name scope names nothing, and a later change would add a second one beside it.
    if (change.name->empty()) {
        plan.problem = "a camera's name cannot be empty";
        return false;
    }
    if (!read.configurableScopes) {
        plan.problem = "the camera's scopes were not read, and a new name would replace them";
        return false;
    }
    plan.steps.push_back({ChangeStep::Name, SetScopesRequest(ScopesWithName(
                                                *read.configurableScopes, *change.name))});
    return true;
}

bool PlanDns(const CameraSettings& read, const SettingsChange& change, ChangePlan& plan) {
    if (!change.dns1 && !change.dns2) {
        return true;
    }
    if (!read.dns) {
        plan.problem = "the camera's DNS settings were not read, and a change would replace them";
        return false;
    }
    std::vector<Ipv4Octets> servers = read.dns->Servers();
    if (change.dns1) {
        if (servers.empty()) {
            servers.push_back(*change.dns1);
        } else {
            servers[0] = *change.dns1;
        }
    }
    if (change.dns2) {
        if (servers.empty()) {
            plan.problem = "the camera has no DNS 1, so DNS 1 must be given with DNS 2";
            return false;
        }
        if (servers.size() == 1) {
            servers.push_back(*change.dns2);
        } else {
            servers[1] = *change.dns2;
        }
    }
    if (!read.dns->fromDhcp && servers == read.dns->manualServers) {
        return true;
    }
    plan.steps.push_back({ChangeStep::Dns, SetDnsRequest(read.dns->searchDomains, servers)});
    return true;
}

bool PlanGateway(const CameraSettings& read, const SettingsChange& change, ChangePlan& plan) {
    if (change.gateway && change.gateway != read.gateway) {
        plan.steps.push_back(
            {ChangeStep::Gateway, SetNetworkDefaultGatewayRequest(*change.gateway)});
    }
    return true;
}

bool PlanPort(const CameraSettings& read, const SettingsChange& change, ChangePlan& plan) {
    if (!change.httpPort || change.httpPort == read.HttpPort()) {
        return true;
    }
    if (!read.http) {
        plan.problem = "the camera's HTTP protocol was not read, and a new port would replace it";
        return false;
    }
    HttpProtocol http = *read.http;
    if (http.ports.empty()) {
        http.ports.push_back(*change.httpPort);
    } else {
        http.ports[0] = *change.httpPort;
    }
    plan.steps.push_back({ChangeStep::Port, SetNetworkProtocolsRequest(http)});
    return true;
}

bool PlanInterface(const CameraSettings& read, const SettingsChange& change, ChangePlan& plan) {
    if (!change.address && !change.netmask && (!change.dhcp || change.dhcp == read.dhcp)) {
        return true;
    }
    if (!read.interfaceToken || !(change.dhcp || read.dhcp)) {
        plan.problem = "the camera's network interface was not read";
        return false;
    }
    if (change.dhcp ? *change.dhcp : *read.dhcp) {
        if (change.address || change.netmask) {
            plan.problem = "the camera takes its address from DHCP: an address or netmask needs "
                           "DHCP turned off";
            return false;
        }
        plan.steps.push_back({ChangeStep::Interface,
                              SetNetworkInterfacesRequest(*read.interfaceToken, true, {}, 0)});
        return true;
    }
    std::optional<int> prefix = read.prefixLength;
    if (change.netmask) {
        prefix = PrefixOfNetmask(*change.netmask);
        if (!prefix) {
            plan.problem = "the netmask is not contiguous";
            return false;
        }
    }
    const std::optional<Ipv4Octets> address = change.address ? change.address : read.address;
    if (!address || !prefix) {
        plan.problem = "the camera's address or netmask was not read, so both must be given";
        return false;
    }
    if (read.dhcp == false && address == read.address && prefix == read.prefixLength) {
        return true;
    }
    plan.steps.push_back(
        {ChangeStep::Interface,
         SetNetworkInterfacesRequest(*read.interfaceToken, false, *address, *prefix)});
    return true;
}

} // namespace

const char* ChangeStepText(ChangeStep step) {
    switch (step) {
    case ChangeStep::Name:
        return "name (SetScopes)";
    case ChangeStep::Dns:
        return "DNS (SetDNS)";
    case ChangeStep::Gateway:
        return "gateway (SetNetworkDefaultGateway)";
    case ChangeStep::Port:
        return "HTTP port (SetNetworkProtocols)";
    case ChangeStep::Interface:
        return "address, netmask and DHCP (SetNetworkInterfaces)";
    }
    return "?";
}

ChangePlan PlanChange(const CameraSettings& read, const SettingsChange& change) {
    ChangePlan plan;
    for (const auto step : {PlanName, PlanDns, PlanGateway, PlanPort, PlanInterface}) {
        if (!step(read, change, plan)) {
            plan.steps.clear();
            break;
        }
    }
    return plan;
}

} // namespace vanmoor::onvif
