#include "AddressPlan.h"

#include "NamePattern.h"
#include "SettingsForm.h"
#include "SettingsRule.h"
#include "Subnet.h"
#include "Utf8Text.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace vanmoor::commission {

namespace {

using settings::DottedText;
using settings::MacColonText;

constexpr Ipv4Octets kNone{0, 0, 0, 0};

MessageText AddressValue(const Ipv4Octets& address) {
    return Value(DottedText(address));
}

MessageText MacValue(const MacBytes& mac) {
    return Value(MacColonText(mac));
}

void CheckRequest(const PlanRequest& request, const Subnet& subnet) {
    if (auto why = WhyNetmaskRefused(request.netmask)) {
        throw PlanError(std::move(*why));
    }
    // A plan hands out host addresses between the network and broadcast address.
    if (PrefixLength(request.netmask) > 30) {
        throw PlanError(
            Message(MessagePattern::PlanNetmaskNoHosts, {AddressValue(request.netmask)}));
    }
    if (auto why = WhyAddressUnusable(request.first)) {
        throw PlanError(std::move(*why));
    }
    if (request.gateway) {
        if (auto why = WhyGatewayRefused(*request.gateway, subnet)) {
            throw PlanError(std::move(*why));
        }
    }
}

// Each device's gateway: the request's, or its own when none was given.
Ipv4Octets PlannedGateway(const SiteDevice& device, const PlanRequest& request,
                          const Subnet& subnet) {
    if (request.gateway) {
        return *request.gateway;
    }
    if (auto why = WhyGatewayRefused(device.gateway, subnet)) {
        if (subnet.Holds(device.gateway)) {
            throw PlanError(std::move(*why));
        }
        throw PlanError(Message(
            MessagePattern::PlanDeviceGatewayOutside,
            {MacValue(device.MacOrZero()), AddressValue(device.gateway), Value(subnet.Text())}));
    }
    return device.gateway;
}

// How many devices hold each address now, every device counted once by MAC; each found device
// without one (WS-Discovery alone) counts on its own where its address is known. Those cameras
// are never given an address, but the one they hold is taken.
std::map<std::uint32_t, int> HeldAddresses(const std::vector<SiteDevice>& chosen,
                                           const std::vector<SiteDevice>& found) {
    std::map<MacBytes, Ipv4Octets> current;
    std::map<std::uint32_t, int> held;
    for (const auto* list : {&found, &chosen}) {
        for (const SiteDevice& device : *list) {
            if (device.mac) {
                current.emplace(*device.mac, device.ip);
            } else if (list == &found && device.AddressKnown()) {
                ++held[AddressNumber(device.ip)];
            }
        }
    }
    for (const auto& entry : current) {
        ++held[AddressNumber(entry.second)];
    }
    return held;
}

// The addresses that no device is given: the host's and the gateways'.
std::set<std::uint32_t> ReservedAddresses(const std::vector<HostAddress>& host,
                                          const std::vector<Ipv4Octets>& gateways) {
    std::set<std::uint32_t> reserved;
    for (const HostAddress& own : host) {
        reserved.insert(AddressNumber(own.address));
    }
    for (const Ipv4Octets& gateway : gateways) {
        reserved.insert(AddressNumber(gateway));
    }
    return reserved;
}

// Free for `device` in the subnet, and an address the library sends.
bool Assignable(std::uint64_t wide, const SiteDevice& device, const Subnet& subnet,
                const std::set<std::uint32_t>& reserved, const std::map<std::uint32_t, int>& held) {
    const auto number = static_cast<std::uint32_t>(wide);
    const Ipv4Octets octets = AddressOctets(number);
    if (reserved.count(number) != 0 ||
        WhySettingsRefused(octets, AddressOctets(subnet.mask), kNone)) {
        return false;
    }
    const auto holders = held.find(number);
    const bool ownAlone = device.ip == octets && holders != held.end() && holders->second == 1;
    return holders == held.end() || ownAlone;
}

// The subnets through which this host reaches `device`: that of the address it was found
// through, or, where that is not known, every subnet of the host.
std::vector<Subnet> ReachingSubnets(const SiteDevice& device,
                                    const std::vector<HostAddress>& host) {
    std::vector<Subnet> subnets;
    for (const HostAddress& own : host) {
        if (own.address == device.LocalAddressOctets()) {
            return {Subnet::Of(own.address, own.netmask)};
        }
        subnets.push_back(Subnet::Of(own.address, own.netmask));
    }
    return subnets;
}

void CheckReach(PlannedDevice& planned, const std::vector<HostAddress>& host,
                const PlanRequest& request) {
    const std::vector<Subnet> subnets = ReachingSubnets(planned.device, host);
    planned.outOfReach =
        !subnets.empty() && std::none_of(subnets.begin(), subnets.end(),
                                         [&](const Subnet& s) { return s.Holds(planned.ip); });
    if (planned.outOfReach && !request.allowOtherSubnet) {
        std::string reach;
        for (const Subnet& subnet : subnets) {
            reach += (reach.empty() ? "" : ", ") + subnet.Text();
        }
        throw PlanError(
            Message(MessagePattern::PlanMoveOutOfReach, {MacValue(planned.device.MacOrZero()),
                                                         AddressValue(planned.ip), Value(reach)}));
    }
}

void CheckName(const PlannedDevice& planned, bool fromPattern) {
    // A camera's device service takes a name of any length.
    if (!planned.device.SpeaksDeviceProtocol()) {
        return;
    }
    settings::SettingsForm form;
    form.nameBytes = planned.name;
    const bool credentials = planned.device.TakesCredentials();
    const settings::FormProblem problem = settings::CheckNameFits(form, credentials);
    if (problem == settings::FormProblem::None) {
        return;
    }
    const MessageText device = MacValue(planned.device.MacOrZero());
    const MessageText field = Value(std::to_string(settings::NameFieldBytes(credentials)));
    if (fromPattern) {
        if (problem == settings::FormProblem::NameTooManyBytes) {
            throw PlanError(Message(MessagePattern::PlanPatternNameTooLong,
                                    {Value(settings::ValidUtf8(planned.name)), field, device}));
        }
        return; // a name made from the pattern is whole, however long
    }
    if (problem == settings::FormProblem::KeptNameIncomplete) {
        throw PlanError(Message(MessagePattern::PlanKeptNameIncomplete, {device}));
    }
    throw PlanError(Message(MessagePattern::PlanKeptNameTooLong,
                            {device, Value(std::to_string(planned.name.size())), field}));
}

} // namespace

std::vector<PlannedDevice> PlanAddresses(const std::vector<SiteDevice>& chosenDevices,
                                         const std::vector<SiteDevice>& found,
                                         const std::vector<HostAddress>& host,
                                         const PlanRequest& request) {
    std::vector<SiteDevice> chosen;
    std::copy_if(chosenDevices.begin(), chosenDevices.end(), std::back_inserter(chosen),
                 [](const SiteDevice& device) { return device.SettingsKnown(); });
    const Subnet subnet = Subnet::Of(request.first, request.netmask);
    CheckRequest(request, subnet);
    std::optional<NamePattern> pattern;
    if (request.namePattern) {
        try {
            pattern.emplace(*request.namePattern);
        } catch (const MessageError& error) {
            throw PlanError(error.Message());
        }
    }
    std::vector<Ipv4Octets> gateways;
    for (const SiteDevice& device : chosen) {
        gateways.push_back(PlannedGateway(device, request, subnet));
    }
    const std::set<std::uint32_t> reserved = ReservedAddresses(host, gateways);
    const std::map<std::uint32_t, int> held = HeldAddresses(chosen, found);

    std::vector<PlannedDevice> plan;
    // Wider than an address, so that counting past 255.255.255.255 ends the loop.
    std::uint64_t next = AddressNumber(request.first);
    for (const SiteDevice& device : chosen) {
        while (next <= subnet.Broadcast() && !Assignable(next, device, subnet, reserved, held)) {
            ++next;
        }
        if (next > subnet.Broadcast()) {
            throw PlanError(
                Message(MessagePattern::PlanDoesNotFit,
                        {Value(std::to_string(chosen.size())), Value(subnet.Text()),
                         AddressValue(request.first), Value(std::to_string(plan.size()))}));
        }
        PlannedDevice planned{device,
                              AddressOctets(static_cast<std::uint32_t>(next)),
                              request.netmask,
                              gateways[plan.size()],
                              request.dns1.value_or(device.dns1),
                              request.dns2.value_or(device.dns2),
                              pattern ? pattern->Name(static_cast<int>(plan.size()) + 1)
                                      : device.name};
        CheckName(planned, pattern.has_value());
        CheckReach(planned, host, request);
        plan.push_back(std::move(planned));
        ++next;
    }
    return plan;
}

} // namespace vanmoor::commission
