#include "SiteCheck.h"

#include "Subnet.h"

#include <algorithm>
#include <map>

namespace vanmoor::commission {

namespace {

using settings::DottedText;

const HostAddress* HostWithAddress(const std::vector<HostAddress>& host,
                                   const Ipv4Octets& address) {
    const auto found = std::find_if(host.begin(), host.end(),
                                    [&](const HostAddress& own) { return own.address == address; });
    return found == host.end() ? nullptr : &*found;
}

void CheckAddressUse(const SiteDevice& device, const std::map<Ipv4Octets, int>& addressUse,
                     const std::vector<HostAddress>& host, std::vector<Finding>& findings) {
    if (!device.AddressKnown()) {
        return;
    }
    const int users = addressUse.at(device.ip);
    if (users > 1) {
        findings.push_back({device.MacOrZero(), FindingKind::DuplicateAddress, Severity::Error,
                            Message(MessagePattern::DevicesAnswerWith,
                                    {Value(std::to_string(users)), Value(DottedText(device.ip))})});
    }
    if (HostWithAddress(host, device.ip) != nullptr) {
        findings.push_back(
            {device.MacOrZero(), FindingKind::DuplicateAddress, Severity::Error,
             Message(MessagePattern::HostsOwnAddress, {Value(DottedText(device.ip))})});
    }
}

// The message, with the fix a person can make where there is one: a host address in the
// device's own subnet.
MessageText WithFittingSubnet(const SiteDevice& device, MessagePattern plain,
                              MessagePattern withFix, std::vector<MessageText> values) {
    if (!IsContiguousMask(device.netmask) || PrefixLength(device.netmask) == 0) {
        return Message(plain, std::move(values));
    }
    values.push_back(Value(Subnet::Of(device.ip, device.netmask).Text()));
    return Message(withFix, std::move(values));
}

void CheckReach(const SiteDevice& device, const std::vector<HostAddress>& host,
                std::vector<Finding>& findings) {
    if (WhyUnusable(device.ip)) {
        return; // no host address reaches it there: its own settings are the fault
    }
    if (device.LocalAddressOctets() == Ipv4Octets{0, 0, 0, 0}) {
        // Not known which address found it: reachable when any of the host's subnets holds it.
        const bool held = std::any_of(host.begin(), host.end(), [&](const HostAddress& own) {
            return Subnet::Of(own.address, own.netmask).Holds(device.ip);
        });
        if (!held && !host.empty()) {
            findings.push_back({device.MacOrZero(), FindingKind::Unreachable, Severity::Error,
                                WithFittingSubnet(device, MessagePattern::OutsideEveryHostSubnet,
                                                  MessagePattern::OutsideEveryHostSubnetFix,
                                                  {Value(DottedText(device.ip))})});
        }
        return;
    }
    const HostAddress* local = HostWithAddress(host, device.LocalAddressOctets());
    if (local == nullptr) {
        return; // found through an address the host no longer lists: nothing to compare with
    }
    const Subnet localSubnet = Subnet::Of(local->address, local->netmask);
    if (localSubnet.Holds(device.ip)) {
        return;
    }
    findings.push_back({device.MacOrZero(), FindingKind::Unreachable, Severity::Error,
                        WithFittingSubnet(device, MessagePattern::OutsideFoundSubnet,
                                          MessagePattern::OutsideFoundSubnetFix,
                                          {Value(DottedText(device.ip)), Value(localSubnet.Text()),
                                           Value(DottedText(local->address))})});
}

void CheckOwnSettings(const SiteDevice& device, std::vector<Finding>& findings) {
    if (device.dhcp || !device.SettingsKnown()) {
        return; // the DHCP server chose these (a fault would be its own), or nothing is known
    }
    const auto bad = [&](MessagePattern pattern, std::vector<MessageText> values) {
        findings.push_back({device.MacOrZero(), FindingKind::BadSettings, Severity::Error,
                            Message(pattern, std::move(values))});
    };
    if (auto why = WhyUnusable(device.ip)) {
        bad(MessagePattern::UnusableAddress, {Value(DottedText(device.ip)), std::move(*why)});
        return; // no subnet of its own to measure the other rules against
    }
    if (!IsContiguousMask(device.netmask)) {
        bad(MessagePattern::NetmaskNotContiguous, {Value(DottedText(device.netmask))});
        return; // without a proper subnet the other rules have nothing to measure against
    }
    if (PrefixLength(device.netmask) == 0) {
        bad(MessagePattern::NetmaskZero, {});
        return;
    }
    const Subnet own = Subnet::Of(device.ip, device.netmask);
    if (own.IsNetworkOrBroadcast(device.ip)) {
        bad(MessagePattern::NetworkOrBroadcast, {Value(DottedText(device.ip)), Value(own.Text())});
    }
    if (device.gateway != Ipv4Octets{0, 0, 0, 0} && !own.Holds(device.gateway)) {
        bad(MessagePattern::GatewayOutside, {Value(DottedText(device.gateway)), Value(own.Text())});
    }
}

} // namespace

const char* FindingKindText(FindingKind kind) {
    switch (kind) {
    case FindingKind::DuplicateAddress:
        return "duplicate address";
    case FindingKind::Unreachable:
        return "unreachable";
    case FindingKind::BadSettings:
        return "bad settings";
    case FindingKind::DuplicateName:
        return "duplicate name";
    }
    return "";
}

const char* SeverityText(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::vector<Finding> CheckSite(const std::vector<SiteDevice>& devices,
                               const std::vector<HostAddress>& host) {
    std::map<Ipv4Octets, int> addressUse;
    std::map<std::string, int> nameUse;
    for (const SiteDevice& device : devices) {
        if (device.AddressKnown()) {
            ++addressUse[device.ip];
        }
        if (!device.name.empty()) {
            ++nameUse[device.name];
        }
    }
    std::vector<Finding> findings;
    for (std::size_t index = 0; index < devices.size(); ++index) {
        const SiteDevice& device = devices[index];
        const std::size_t before = findings.size();
        CheckAddressUse(device, addressUse, host, findings);
        CheckReach(device, host, findings);
        CheckOwnSettings(device, findings);
        if (!device.name.empty() && nameUse[device.name] > 1) {
            findings.push_back(
                {device.MacOrZero(), FindingKind::DuplicateName, Severity::Warning,
                 Message(MessagePattern::DevicesNamed,
                         {Value(std::to_string(nameUse[device.name])), Value(device.name)})});
        }
        for (std::size_t found = before; found < findings.size(); ++found) {
            findings[found].device = index;
        }
    }
    return findings;
}

bool HasError(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.severity == Severity::Error; });
}

bool HasErrorFor(const std::vector<Finding>& findings, const MacBytes& mac) {
    return std::any_of(findings.begin(), findings.end(), [&](const Finding& finding) {
        return finding.mac == mac && finding.severity == Severity::Error;
    });
}

} // namespace vanmoor::commission
