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
    const int users = addressUse.at(device.ip);
    if (users > 1) {
        findings.push_back(
            {device.mac, FindingKind::DuplicateAddress, Severity::Error,
             std::to_string(users) + " devices answer with " + DottedText(device.ip)});
    }
    if (HostWithAddress(host, device.ip) != nullptr) {
        findings.push_back({device.mac, FindingKind::DuplicateAddress, Severity::Error,
                            DottedText(device.ip) + " is one of this host's own addresses"});
    }
}

// The fix a person can make: a host address in the device's own subnet.
std::string FittingSubnet(const SiteDevice& device) {
    if (!IsContiguousMask(device.netmask) || PrefixLength(device.netmask) == 0) {
        return "";
    }
    return "; a host address in " + Subnet::Of(device.ip, device.netmask).Text() +
           " would reach it";
}

void CheckReach(const SiteDevice& device, const std::vector<HostAddress>& host,
                std::vector<Finding>& findings) {
    if (WhyUnusable(device.ip)) {
        return; // no host address reaches it there: its own settings are the fault
    }
    if (device.localAddress == Ipv4Octets{0, 0, 0, 0}) {
        // Not known which address found it: reachable when any of the host's subnets holds it.
        const bool held = std::any_of(host.begin(), host.end(), [&](const HostAddress& own) {
            return Subnet::Of(own.address, own.netmask).Holds(device.ip);
        });
        if (!held && !host.empty()) {
            findings.push_back({device.mac, FindingKind::Unreachable, Severity::Error,
                                DottedText(device.ip) + " is outside every subnet of this host" +
                                    FittingSubnet(device)});
        }
        return;
    }
    const HostAddress* local = HostWithAddress(host, device.localAddress);
    if (local == nullptr) {
        return; // found through an address the host no longer lists: nothing to compare with
    }
    const Subnet localSubnet = Subnet::Of(local->address, local->netmask);
    if (localSubnet.Holds(device.ip)) {
        return;
    }
    findings.push_back({device.mac, FindingKind::Unreachable, Severity::Error,
                        DottedText(device.ip) + " is outside " + localSubnet.Text() + " of " +
                            DottedText(local->address) + ", through which it was found" +
                            FittingSubnet(device)});
}

void CheckOwnSettings(const SiteDevice& device, std::vector<Finding>& findings) {
    if (device.dhcp) {
        return; // the DHCP server chose these; a fault would be its own
    }
    const auto bad = [&](const std::string& message) {
        findings.push_back({device.mac, FindingKind::BadSettings, Severity::Error, message});
    };
    if (const auto why = WhyUnusable(device.ip)) {
        bad(DottedText(device.ip) + " is " + *why + ", which no device can use");
        return; // no subnet of its own to measure the other rules against
    }
    if (!IsContiguousMask(device.netmask)) {
        bad("netmask " + DottedText(device.netmask) + " is not contiguous");
        return; // without a proper subnet the other rules have nothing to measure against
    }
    if (PrefixLength(device.netmask) == 0) {
        bad("netmask 0.0.0.0 leaves the device no subnet");
        return;
    }
    const Subnet own = Subnet::Of(device.ip, device.netmask);
    if (own.IsNetworkOrBroadcast(device.ip)) {
        bad(DottedText(device.ip) + " is the network or broadcast address of " + own.Text());
    }
    if (device.gateway != Ipv4Octets{0, 0, 0, 0} && !own.Holds(device.gateway)) {
        bad("gateway " + DottedText(device.gateway) + " is outside " + own.Text());
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
        ++addressUse[device.ip];
        if (!device.name.empty()) {
            ++nameUse[device.name];
        }
    }
    std::vector<Finding> findings;
    for (const SiteDevice& device : devices) {
        CheckAddressUse(device, addressUse, host, findings);
        CheckReach(device, host, findings);
        CheckOwnSettings(device, findings);
        if (!device.name.empty() && nameUse[device.name] > 1) {
            findings.push_back({device.mac, FindingKind::DuplicateName, Severity::Warning,
                                std::to_string(nameUse[device.name]) + " devices are named \"" +
                                    device.name + "\""});
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
