#include "SubmitCheck.h"

#include "SettingsVerification.h"
#include "Subnet.h"
#include "Utf8Text.h"

#include <algorithm>
#include <utility>

namespace kestrun {

namespace {

using vanmoor::commission::HostAddress;
using vanmoor::commission::Subnet;

bool OnAHostSubnet(const vanmoor::settings::Ipv4Octets& address,
                   const std::vector<HostAddress>& host) {
    return std::any_of(host.begin(), host.end(), [&address](const HostAddress& local) {
        return Subnet::Of(local.address, local.netmask).Holds(address);
    });
}

struct Marker {
    std::size_t at;
    const std::u16string* value;
};

} // namespace

SubmitReport CheckSubmit(const std::optional<vanmoor::commission::SiteDevice>& seen,
                         const vanmoor::settings::SettingsForm& sent, int port,
                         const std::vector<HostAddress>& host) {
    if (!seen) {
        return {SubmitVerdict::NoAnswer, {}, {}};
    }
    if (!vanmoor::commission::SettingsDifferences(*seen, sent, port).empty()) {
        return {seen->TakesCredentials() ? SubmitVerdict::NotAppliedOrRefused
                                         : SubmitVerdict::NotApplied,
                {},
                {}};
    }
    // Without a known host address nothing can be said about reaching it.
    if (!host.empty() && !OnAHostSubnet(seen->ip, host)) {
        return {SubmitVerdict::AppliedElsewhere, vanmoor::settings::DottedText(seen->ip),
                Subnet::Of(seen->ip, seen->netmask).Text()};
    }
    return {SubmitVerdict::Applied, {}, {}};
}

std::u16string FormProblemText(vanmoor::settings::FormProblem problem,
                               const ExtraTextTable& texts) {
    using vanmoor::settings::FormProblem;
    switch (problem) {
    case FormProblem::PortNotInteger:
        return texts.Text(ExtraText::ProblemPortNotInteger);
    case FormProblem::NameTooLong:
        return texts.Text(ExtraText::ProblemNameTooLong);
    case FormProblem::PortOutOfRange:
        return texts.Text(ExtraText::ProblemPortOutOfRange);
    case FormProblem::NameTooManyBytes:
        return texts.Text(ExtraText::ProblemNameTooManyBytes);
    case FormProblem::KeptNameIncomplete:
        return texts.Text(ExtraText::ProblemKeptNameIncomplete);
    case FormProblem::None:
        break;
    }
    return {};
}

std::u16string SubmitReportText(const SubmitReport& report, const ExtraTextTable& texts) {
    switch (report.verdict) {
    case SubmitVerdict::Applied:
        return texts.Text(ExtraText::SubmitApplied);
    case SubmitVerdict::AppliedElsewhere:
        return FillIn(texts.Text(ExtraText::SubmitOtherSubnet),
                      vanmoor::settings::Utf16FromAscii(report.address),
                      vanmoor::settings::Utf16FromAscii(report.subnet));
    case SubmitVerdict::NotApplied:
        return texts.Text(ExtraText::SubmitNotApplied);
    case SubmitVerdict::NotAppliedOrRefused:
        return texts.Text(ExtraText::SubmitNotAppliedCredentials);
    case SubmitVerdict::NoAnswer:
        break;
    }
    return texts.Text(ExtraText::SubmitNoAnswer);
}

std::u16string FillIn(std::u16string text, const std::u16string& first,
                      const std::u16string& second) {
    // Both markers are found in the text as given, so that a value holding "%2" (a file name,
    // say) is not filled in again. The later one goes first and leaves the earlier one's place.
    Marker markers[] = {{text.find(u"%1"), &first}, {text.find(u"%2"), &second}};
    if (markers[0].at < markers[1].at) {
        std::swap(markers[0], markers[1]);
    }
    for (const Marker& marker : markers) {
        if (marker.at != std::u16string::npos) {
            text.replace(marker.at, 2, *marker.value);
        }
    }
    return text;
}

} // namespace kestrun
