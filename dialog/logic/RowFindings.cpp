#include "RowFindings.h"

#include "LibraryDevices.h"
#include "SharedSettings.h"
#include "SiteCheck.h"

#include <map>
#include <optional>

namespace kestrun {

namespace {

ExtraText KindText(vanmoor::commission::FindingKind kind) {
    using vanmoor::commission::FindingKind;
    switch (kind) {
    case FindingKind::DuplicateAddress:
        return ExtraText::FindingDuplicateAddress;
    case FindingKind::Unreachable:
        return ExtraText::FindingUnreachable;
    case FindingKind::BadSettings:
        return ExtraText::FindingBadSettings;
    case FindingKind::DuplicateName:
        break;
    }
    return ExtraText::FindingDuplicateName;
}

} // namespace

std::vector<RowFinding> FindRowProblems(const LibraryApi& api, const DeviceList& list,
                                        const ExtraTextTable& texts) {
    std::vector<std::optional<SiteDevice>> rowDevices;
    std::vector<SiteDevice> devices;
    for (std::size_t row = 0; row < list.Rows().size(); ++row) {
        rowDevices.push_back(ReadSiteDevice(api, list.DeviceNumber(row) - 1));
        if (rowDevices.back()) {
            devices.push_back(*rowDevices.back());
        }
    }
    const auto findings = vanmoor::commission::CheckSite(devices, ReadHostAddresses(api));

    // Grouped by device first: a large site has many rows and many findings.
    std::map<MacBytes, std::vector<const vanmoor::commission::Finding*>> byDevice;
    for (const auto& finding : findings) {
        byDevice[finding.mac].push_back(&finding);
    }
    std::vector<RowFinding> rows(rowDevices.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const auto found =
            rowDevices[row] ? byDevice.find(rowDevices[row]->MacOrZero()) : byDevice.end();
        if (found == byDevice.end()) {
            continue;
        }
        for (const auto* finding : found->second) {
            rows[row].error =
                rows[row].error || finding->severity == vanmoor::commission::Severity::Error;
            rows[row].text += (rows[row].text.empty() ? u"" : u"\n") +
                              texts.Text(KindText(finding->kind)) + u": " +
                              texts.Message(finding->message);
        }
    }
    return rows;
}

} // namespace kestrun
