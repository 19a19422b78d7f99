#include "DeviceSearch.h"

#include "ProgramLog.h"
#include "SharedSettings.h"

#include "DeviceMerge.h"
#include "InterfaceList.h"
#include "Subnet.h"

#include <chrono>
#include <cstring>
#include <limits>
#include <utility>

namespace kestrun {

DeviceSearch::DeviceSearch(const LibraryApi& api, const UiTextTable& texts, InterfaceChoice& choice,
                           DeviceList& devices, WsdScan* wsdScan)
    : m_Api(api), m_Texts(texts), m_Choice(choice), m_Devices(devices), m_WsdScan(wsdScan) {}

void DeviceSearch::RefillChoice() {
    std::vector<std::u16string> addresses;
    const int count = m_Api.getIPcount();
    for (int i = 0; i < count; ++i) {
        const char* address = m_Api.getIPinfo(i);
        addresses.push_back(address != nullptr ? Utf16FromUtf8(address) : std::u16string());
    }
    m_Choice.Refill(m_Texts.Text(UiText::SelectAll), addresses);
}

bool DeviceSearch::ChooseInterface() {
    const int chosenIndex = m_Choice.Selected();
    const std::u16string chosenText = m_Choice.SelectedText();
    RefillChoice();
    m_Choice.SelectLastEqual(chosenText);
    m_ChosenAddress.reset();
    if (chosenIndex > 0) {
        const std::string address =
            Utf8FromUtf16(chosenText, std::numeric_limits<std::size_t>::max());
        m_ChosenAddress = address;
        return m_Api.setIPSearch(1, address.c_str());
    }
    return m_Api.setIPSearch(0, "");
}

void DeviceSearch::RefillAfterRefusal() {
    RefillChoice();
}

bool DeviceSearch::RunSearch() {
    if (m_WsdScan == nullptr) {
        return m_Api.search(kWaitMilliseconds);
    }
    std::vector<std::string> localAddresses;
    if (m_ChosenAddress) {
        localAddresses.push_back(*m_ChosenAddress);
    }
    m_WsdScan->Start(std::move(localAddresses), std::chrono::milliseconds(kWaitMilliseconds));
    const bool searched = m_Api.search(kWaitMilliseconds);
    m_WsdFound = m_WsdScan->Finish();
    return searched;
}

void DeviceSearch::ListDevices(bool searched) {
    if (!searched) {
        ProgramLog().WriteLog("CIpEditDlg::OnSearch() failed\n");
        return;
    }
    const int count = m_Api.getCounts();
    m_Devices.Clear();
    m_Listed.clear();
    for (int index = 0; index < count; ++index) {
        char name[DeviceList::kNameBytes] = {};
        char ip[30] = {};
        const bool named = m_Api.getName(index, name, sizeof name);
        const bool addressed = m_Api.getIPString(index, ip, sizeof ip);
        if (named && addressed) {
            const std::string_view address(ip, strnlen(ip, sizeof ip));
            m_Devices.AddDeviceRow(index, std::string_view(name, sizeof name), address);
            if (m_WsdFound.empty()) {
                continue; // nothing to merge: a large site lists faster without the records
            }
            vanmoor::site::SiteDevice listed;
            listed.ip = vanmoor::settings::OctetsFromDottedText(address);
            listed.name = std::string(name, strnlen(name, sizeof name));
            m_Listed.push_back(std::move(listed));
        }
    }
}

void DeviceSearch::ListWsdDevices(std::u16string_view marker) {
    if (m_WsdFound.empty()) {
        return;
    }
    const std::vector<vanmoor::commission::HostAddress> hosts = SearchedHostAddresses();
    for (vanmoor::site::SiteDevice& device : m_Listed) {
        device.localAddress = LocalAddressOf(device.ip, hosts);
    }
    for (vanmoor::site::SiteDevice& device :
         vanmoor::listing::MergeDevices(m_Listed, std::exchange(m_WsdFound, {}))) {
        if (!device.SpeaksDeviceProtocol()) {
            m_Devices.AddWsdRow(std::move(device), marker);
        }
    }
}

std::vector<vanmoor::commission::HostAddress> DeviceSearch::SearchedHostAddresses() const {
    std::vector<std::string> addresses;
    if (m_ChosenAddress) {
        addresses.push_back(*m_ChosenAddress);
    } else {
        // After "Select All" in the drop-down.
        for (std::size_t entry = 1; entry < m_Choice.Entries().size(); ++entry) {
            addresses.push_back(
                Utf8FromUtf16(m_Choice.Entries()[entry], std::numeric_limits<std::size_t>::max()));
        }
    }
    return vanmoor::commission::HostAddressesOf(addresses);
}

std::optional<std::string>
DeviceSearch::LocalAddressOf(const Ipv4Octets& ip,
                             const std::vector<vanmoor::commission::HostAddress>& hosts) const {
    if (m_ChosenAddress) {
        return m_ChosenAddress;
    }
    std::optional<std::string> holding;
    for (const vanmoor::commission::HostAddress& host : hosts) {
        if (vanmoor::commission::Subnet::Of(host.address, host.netmask).Holds(ip)) {
            if (holding) {
                return std::nullopt; // two subnets hold it: which one answered is not known
            }
            holding = vanmoor::settings::DottedText(host.address);
        }
    }
    return holding;
}

} // namespace kestrun
