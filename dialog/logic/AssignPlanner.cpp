#include "AssignPlanner.h"

#include "ReadCamera.h"
#include "SiteCheck.h"

#include <algorithm>
#include <limits>

namespace kestrun {

namespace {

constexpr Ipv4Octets kNone{0, 0, 0, 0};

std::optional<Ipv4Octets> Given(const Ipv4Octets& address) {
    return address == kNone ? std::nullopt : std::optional(address);
}

// Told its settings by a device protocol, or a camera read through its device service: it can
// be planned and changed.
bool Plannable(const SiteDevice& device) {
    return device.SettingsKnown() && device.mac.has_value();
}

bool Holds(const std::vector<SiteDevice>& devices, const MacBytes& mac) {
    return std::any_of(devices.begin(), devices.end(),
                       [&](const SiteDevice& device) { return device.mac == mac; });
}

vanmoor::commission::PlanRequest MakeRequest(const AssignFields& fields) {
    vanmoor::commission::PlanRequest request;
    request.first = fields.first;
    request.netmask = fields.netmask;
    // An empty gateway field keeps each device's own, which the planner checks against the new
    // subnet; no gateway at all only when chosen.
    request.gateway = fields.noGateway ? std::optional(kNone) : Given(fields.gateway);
    request.allowOtherSubnet = fields.allowOtherSubnet;
    request.dns1 = Given(fields.dns1);
    request.dns2 = Given(fields.dns2);
    if (!fields.namePattern.empty()) {
        request.namePattern =
            Utf8FromUtf16(fields.namePattern, std::numeric_limits<std::size_t>::max());
    }
    return request;
}

} // namespace

std::vector<SiteDevice> ChosenDevices(const AssignSite& site, AssignChoice choice) {
    std::vector<SiteDevice> chosen;
    if (choice == AssignChoice::Selected) {
        for (const MacBytes& mac : site.selected) {
            const auto device =
                std::find_if(site.found.begin(), site.found.end(),
                             [&](const SiteDevice& candidate) { return candidate.mac == mac; });
            if (device != site.found.end() && Plannable(*device) && !Holds(chosen, mac)) {
                chosen.push_back(*device);
            }
        }
        return chosen;
    }
    const auto findings = choice == AssignChoice::Marked
                              ? vanmoor::commission::CheckSite(site.found, site.host)
                              : std::vector<vanmoor::commission::Finding>{};
    for (const SiteDevice& device : site.found) {
        // A camera found by WS-Discovery alone is planned only once read.
        const bool wanted =
            Plannable(device) && (choice == AssignChoice::All ||
                                  vanmoor::commission::HasErrorFor(findings, device.MacOrZero()));
        if (wanted && !Holds(chosen, device.MacOrZero())) {
            chosen.push_back(device);
        }
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const SiteDevice& a, const SiteDevice& b) { return a.mac < b.mac; });
    return chosen;
}

std::vector<std::size_t> UnreadCameras(const AssignSite& site, AssignChoice choice) {
    std::vector<std::size_t> unread;
    // The selected rows are named by MAC, which such a camera tells only once read.
    if (choice == AssignChoice::Selected) {
        return unread;
    }
    for (std::size_t index = 0; index < site.found.size(); ++index) {
        const SiteDevice& device = site.found[index];
        if (!device.SettingsKnown() && device.wsd &&
            !vanmoor::commission::DeviceServiceUrl(device).empty()) {
            unread.push_back(index);
        }
    }
    return unread;
}

AssignPreview PreviewAssign(const AssignSite& site, AssignChoice choice,
                            const AssignFields& fields) {
    AssignPreview preview;
    if (fields.partlyFilled) {
        preview.state = PreviewState::PartlyFilled;
        return preview;
    }
    // An empty first field reads 0.0.0.0, which would plan addresses in 0.0.0.0/8.
    if (fields.first == kNone) {
        return preview;
    }
    // Likewise an empty netmask, which no device can use.
    if (fields.netmask == kNone) {
        preview.state = PreviewState::NoNetmask;
        return preview;
    }
    const std::vector<SiteDevice> chosen = ChosenDevices(site, choice);
    if (chosen.empty()) {
        preview.state = PreviewState::NoDevices;
        return preview;
    }
    try {
        preview.plan =
            vanmoor::commission::PlanAddresses(chosen, site.found, site.host, MakeRequest(fields));
        preview.state = PreviewState::Planned;
    } catch (const vanmoor::commission::PlanError& error) {
        preview.state = PreviewState::PlanFailed;
        preview.error = error.Message();
    }
    return preview;
}

} // namespace kestrun
