#pragma once

#include "ExtraTextTable.h"
#include "SettingsForm.h"
#include "SiteDevice.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrun {

// What the search after a submit shows of the device the settings went to.
enum class SubmitVerdict {
    Applied,             // it answers with the new settings
    AppliedElsewhere,    // it does, on a subnet none of the host's addresses is on
    NotApplied,          // it answers with other settings
    NotAppliedOrRefused, // same, for a device that takes a user name and password
    NoAnswer,            // it did not answer the search
};

struct SubmitReport {
    SubmitVerdict verdict = SubmitVerdict::NoAnswer;
    std::string address; // the device's address now, for AppliedElsewhere
    std::string subnet;  // its subnet, "192.0.2.0/24"
};

// Compares what the device now reports with what was sent, by the commissioning layer's rules.
SubmitReport CheckSubmit(const std::optional<vanmoor::commission::SiteDevice>& seen,
                         const vanmoor::settings::SettingsForm& sent, int port,
                         const std::vector<vanmoor::commission::HostAddress>& host);

// The one short message for the user.
std::u16string SubmitReportText(const SubmitReport& report, const ExtraTextTable& texts);

// The shared rules' message for `problem`, in the language of `texts`; empty for none.
std::u16string FormProblemText(vanmoor::settings::FormProblem problem, const ExtraTextTable& texts);

// `text` with "%1" and "%2" replaced by `first` and `second`.
std::u16string FillIn(std::u16string text, const std::u16string& first,
                      const std::u16string& second = {});

} // namespace kestrun
