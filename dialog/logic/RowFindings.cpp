#include "RowFindings.h"

#include "InterfaceList.h"
#include "SharedSettings.h"
#include "SiteCheck.h"

#include <cstring>
#include <optional>

namespace kestrun {

namespace {

using vanmoor::commission::SiteDevice;

constexpr int kTextBufferSize = 32;

Ipv4Octets AddressOf(bool (*query)(int, char*, int), int index) {
    char text[kTextBufferSize] = {};
    query(index, text, sizeof text);
    return OctetsFromDottedText(std::string_view(text, strnlen(text, sizeof text)));
}

// The device at `index` as the checks see it; none when the library no longer lists it. The
// address it was found through is not known to the dialog.
std::optional<SiteDevice> ReadSiteDevice(const LibraryApi& api, int index) {
    char mac[kTextBufferSize] = {};
    if (index < 0 || !api.getMacString(index, mac, sizeof mac)) {
        return std::nullopt;
    }
    SiteDevice device;
    device.mac = MacFromDashedText(std::string_view(mac, strnlen(mac, sizeof mac)));
    device.ip = AddressOf(api.getIPString, index);
    device.netmask = AddressOf(api.getNetMaskString, index);
    device.gateway = AddressOf(api.getGateWayString, index);
    device.dhcp = api.getDHCP(index) == 1;
    char name[DeviceList::kNameBytes] = {};
    api.getName(index, name, sizeof name);
    device.name.assign(name, strnlen(name, sizeof name));
    return device;
}

} // namespace

std::vector<RowFinding> FindRowProblems(const LibraryApi& api, const DeviceList& list) {
    std::vector<std::optional<SiteDevice>> rowDevices;
    std::vector<SiteDevice> devices;
    for (std::size_t row = 0; row < list.Rows().size(); ++row) {
        rowDevices.push_back(ReadSiteDevice(api, list.DeviceNumber(row) - 1));
        if (rowDevices.back()) {
            devices.push_back(*rowDevices.back());
        }
    }
    std::vector<std::string> localAddresses;
    for (int i = 0; i < api.getIPcount(); ++i) {
        if (const char* address = api.getIPinfo(i)) {
            localAddresses.emplace_back(address);
        }
    }
    const auto findings = vanmoor::commission::CheckSite(
        devices, vanmoor::commission::HostAddressesOf(localAddresses));

    std::vector<RowFinding> rows(rowDevices.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (const auto& finding : findings) {
            if (!rowDevices[row] || finding.mac != rowDevices[row]->mac) {
                continue;
            }
            rows[row].error =
                rows[row].error || finding.severity == vanmoor::commission::Severity::Error;
            const std::string line =
                std::string(vanmoor::commission::FindingKindText(finding.kind)) + ": " +
                finding.message;
            rows[row].text += (rows[row].text.empty() ? u"" : u"\n") + Utf16FromUtf8(line);
        }
    }
    return rows;
}

} // namespace kestrun
