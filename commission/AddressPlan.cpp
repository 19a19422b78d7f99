#include "AddressPlan.h"

#include "NamePattern.h"
#include "SettingsForm.h"
#include "Subnet.h"
#include "Utf8Text.h"

#include <algorithm>
#include <set>

namespace vanmoor::commission {

namespace {

using settings::DottedText;

void CheckRequest(const PlanRequest& request, const Subnet& subnet) {
    if (!IsContiguousMask(request.netmask) || PrefixLength(request.netmask) > 30) {
        throw PlanError("netmask " + DottedText(request.netmask) +
                        " is not a contiguous mask with room for hosts");
    }
    if (request.gateway != Ipv4Octets{0, 0, 0, 0} && !subnet.Holds(request.gateway)) {
        throw PlanError("gateway " + DottedText(request.gateway) + " is outside " + subnet.Text());
    }
}

// The addresses that must not be handed out.
std::set<std::uint32_t> TakenAddresses(const std::vector<SiteDevice>& chosen,
                                       const std::vector<SiteDevice>& found,
                                       const std::vector<HostAddress>& host,
                                       const PlanRequest& request) {
    std::set<std::uint32_t> taken;
    for (const SiteDevice& device : found) {
        const bool moves = std::any_of(chosen.begin(), chosen.end(),
                                       [&](const SiteDevice& c) { return c.mac == device.mac; });
        if (!moves) {
            taken.insert(AddressNumber(device.ip));
        }
    }
    for (const HostAddress& own : host) {
        taken.insert(AddressNumber(own.address));
    }
    taken.insert(AddressNumber(request.gateway));
    return taken;
}

// Free in the subnet, and an address the library sends.
bool Assignable(std::uint64_t wide, const Subnet& subnet, const std::set<std::uint32_t>& taken) {
    const auto number = static_cast<std::uint32_t>(wide);
    const Ipv4Octets octets = AddressOctets(number);
    return !subnet.IsNetworkOrBroadcast(octets) && octets[3] != 0 && octets[3] != 255 &&
           taken.count(number) == 0;
}

// A kept name as the shared rules will send it (UTF-8, cut to the record's width), so that the
// verification compares with what was sent.
std::string SentName(const std::string& name) {
    return settings::Utf8FromUtf16(settings::Utf16FromUtf8(name), settings::kMaxNameBytes);
}

} // namespace

std::vector<PlannedDevice> PlanAddresses(const std::vector<SiteDevice>& chosen,
                                         const std::vector<SiteDevice>& found,
                                         const std::vector<HostAddress>& host,
                                         const PlanRequest& request) {
    const Subnet subnet = Subnet::Of(request.first, request.netmask);
    CheckRequest(request, subnet);
    std::optional<NamePattern> pattern;
    if (request.namePattern) {
        try {
            pattern.emplace(*request.namePattern);
        } catch (const std::invalid_argument& error) {
            throw PlanError(error.what());
        }
    }
    const std::set<std::uint32_t> taken = TakenAddresses(chosen, found, host, request);

    std::vector<PlannedDevice> plan;
    // Wider than an address, so that counting past 255.255.255.255 ends the loop.
    std::uint64_t next = AddressNumber(request.first);
    for (const SiteDevice& device : chosen) {
        while (next <= subnet.Broadcast() && !Assignable(next, subnet, taken)) {
            ++next;
        }
        if (next > subnet.Broadcast()) {
            throw PlanError(std::to_string(chosen.size()) + " devices do not fit in " +
                            subnet.Text() + " from " + DottedText(request.first) + ": only " +
                            std::to_string(plan.size()) + " free addresses");
        }
        PlannedDevice planned{device,
                              AddressOctets(static_cast<std::uint32_t>(next)),
                              request.netmask,
                              request.gateway,
                              request.dns1.value_or(device.dns1),
                              request.dns2.value_or(device.dns2),
                              pattern ? pattern->Name(static_cast<int>(plan.size()) + 1)
                                      : SentName(device.name)};
        if (pattern && planned.name.size() > settings::kMaxNameBytes) {
            throw PlanError("name \"" + planned.name + "\" is longer than " +
                            std::to_string(settings::kMaxNameBytes) + " bytes");
        }
        plan.push_back(std::move(planned));
        ++next;
    }
    return plan;
}

} // namespace vanmoor::commission
