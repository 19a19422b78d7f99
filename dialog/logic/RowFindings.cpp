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
    // Per row, its device's place among the devices checked; none for a row the library no
    // longer lists.
    std::vector<std::optional<std::size_t>> rowDevices;
    std::vector<SiteDevice> devices;
    rowDevices.reserve(list.Rows().size());
    devices.reserve(list.Rows().size());
    for (std::size_t row = 0; row < list.Rows().size(); ++row) {
        std::optional<SiteDevice> device;
        if (const SiteDevice* camera = list.WsdDevice(row)) {
            device = *camera;
        } else if (list.DeviceNumber(row) > 0) {
            device = ReadSiteDevice(api, list.DeviceNumber(row) - 1);
        }
        rowDevices.push_back(device ? std::optional(devices.size()) : std::nullopt);
        if (device) {
            devices.push_back(std::move(*device));
        }
    }
    const auto findings = vanmoor::commission::CheckSite(devices, ReadHostAddresses(api));

    // Grouped by device first: a large site has many rows and many findings. By place, not by
    // MAC, since a WS-Discovery camera has none.
    std::vector<std::vector<const vanmoor::commission::Finding*>> byDevice(devices.size());
    for (const auto& finding : findings) {
        if (finding.device < byDevice.size()) {
            byDevice[finding.device].push_back(&finding);
        }
    }
    std::vector<RowFinding> rows(rowDevices.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!rowDevices[row]) {
            continue;
        }
        // Checked, so that a row given the wrong place shows the wrong findings, not memory past
        // the end.
        for (const auto* finding : byDevice.at(*rowDevices[row])) {
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
