#pragma once

#include "AddressPlan.h"
#include "CredentialsBook.h"
#include "DeviceLink.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::commission {

enum class AssignResult {
    Changed,      // the device answers with its planned settings
    Unchanged,    // it answers, still with other settings, after every retry
    NotFound,     // it did not answer the searches
    Refused,      // it takes credentials and did not take the new settings
    FailedToSend, // the library did not send the command
    Kept,         // a camera answered every step as done, but still shows its old settings
};

// "changed", "unchanged", "not found", "refused", "failed to send", "kept": stable, for scripts.
const char* AssignResultText(AssignResult result);

struct AssignOutcome {
    PlannedDevice planned;
    AssignResult result = AssignResult::NotFound;
    std::optional<Ipv4Octets> finalAddress; // as last seen; none when never seen
    int sends = 0;                          // commands sent, retries included
    std::string detail;                     // what happened, in words; empty when nothing to add
    bool rebooted = false;                  // a camera was restarted to take its new address
};

// Sends each planned device its settings, searches again and compares by MAC, and sends again
// to those not yet showing them, at most `retries` times. A device that takes credentials and
// answers with other settings after a send is counted as refused and never sent to again: the
// protocol does not answer a command, so a wrong password and a lost command look the same,
// and repeating a wrong password gains nothing. One that does not answer a search is looked
// for again in the next rounds without a new command. A search that fails counts as a round in
// which no device answered. A device that takes credentials and has none in the book, or ones
// its command cannot carry, is refused without a command.
class BatchAssign {
public:
    // Called once per device as soon as its result is final.
    using Progress =
        std::function<void(const AssignOutcome& outcome, std::size_t done, std::size_t total)>;

    BatchAssign(DeviceLink& link, CredentialsBook book, int retries);

    std::vector<AssignOutcome> Apply(const std::vector<PlannedDevice>& plan,
                                     const Progress& progress = {});

private:
    bool SendOne(AssignOutcome& outcome);

    DeviceLink& m_Link;
    const CredentialsBook m_Book;
    const int m_Retries;
};

// True when `seen` shows the planned address, netmask, gateway, DNS and name.
bool ShowsPlan(const SiteDevice& seen, const PlannedDevice& planned);

} // namespace vanmoor::commission
