#pragma once

#include "AddressPlan.h"
#include "EndpointWatch.h"
#include "SharedSettings.h"

#include <chrono>
#include <string>
#include <vector>

namespace kestrun {

using vanmoor::commission::HostAddress;
using vanmoor::commission::PlannedDevice;
using vanmoor::commission::SiteDevice;

// Which devices a batch re-addresses.
enum class AssignChoice {
    Selected, // the rows selected in the main list, top to bottom
    Marked,   // the devices the site checks find an error for, as the list marks them
    All,
};

// What the devices to choose from are: the main list's last search.
struct AssignSite {
    // Every device listed; a camera found by WS-Discovery alone holds its settings only once its
    // device service was read.
    std::vector<SiteDevice> found;
    std::vector<HostAddress> host;  // the host's addresses, never handed out
    std::vector<MacBytes> selected; // the MACs of the selected rows, top to bottom
    std::chrono::seconds verifyWait = vanmoor::commission::kDefaultVerifyWait;
};

// The assign dialog's fields. 0.0.0.0 in a DNS field, or an empty pattern, keeps each device's
// own; so does 0.0.0.0 as gateway, where each device's own gateway must then lie in the new
// subnet, unless no gateway was chosen.
struct AssignFields {
    Ipv4Octets first{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    bool noGateway = false; // the devices get no gateway (0.0.0.0), whatever the gateway field says
    bool allowOtherSubnet = false; // devices may move out of the subnet they were found through
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    std::u16string namePattern;
    // An address field holds some of its four numbers but not all: no plan until it is whole
    // or empty.
    bool partlyFilled = false;
};

enum class PreviewState {
    Planned,      // `plan` holds one device or more
    NoFirst,      // no first address given yet
    NoNetmask,    // a first address but no netmask yet
    NoDevices,    // the choice holds no device
    PartlyFilled, // an address field is neither whole nor empty
    PlanFailed,   // `error` says why
};

struct AssignPreview {
    PreviewState state = PreviewState::NoFirst;
    std::vector<PlannedDevice> plan;
    vanmoor::commission::MessageText error; // the plan's refusal
};

// The devices of `choice`, each once. Marked and all devices come in MAC order, as the command
// line orders them.
std::vector<SiteDevice> ChosenDevices(const AssignSite& site, AssignChoice choice);

// Where in `site.found` the cameras are that `choice` could take once read through their device
// service: found by WS-Discovery alone, not read yet. Until read their MAC and settings are not
// known, so the site checks cannot mark them: for marked devices all of them are read, and the
// checks then say which are marked.
std::vector<std::size_t> UnreadCameras(const AssignSite& site, AssignChoice choice);

// The plan the fields give for the chosen devices, or why there is none.
AssignPreview PreviewAssign(const AssignSite& site, AssignChoice choice,
                            const AssignFields& fields);

} // namespace kestrun
