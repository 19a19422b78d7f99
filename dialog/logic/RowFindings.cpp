#include "RowFindings.h"

#include "LibraryDevices.h"
#include "SharedSettings.h"
#include "SiteCheck.h"

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

    std::vector<RowFinding> rows(rowDevices.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (const auto& finding : findings) {
            if (!rowDevices[row] || finding.mac != rowDevices[row]->mac) {
                continue;
            }
            rows[row].error =
                rows[row].error || finding.severity == vanmoor::commission::Severity::Error;
            rows[row].text += (rows[row].text.empty() ? u"" : u"\n") +
                              texts.Text(KindText(finding.kind)) + u": " +
                              Utf16FromUtf8(finding.message);
        }
    }
    return rows;
}

} // namespace kestrun
