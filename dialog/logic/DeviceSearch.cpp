#include "DeviceSearch.h"

#include "ProgramLog.h"
#include "SharedSettings.h"

#include "DeviceMerge.h"
#include "LocalAddressReader.h"

#include <algorithm>
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
        m_Changed.reset();
        return;
    }
    const int count = m_Api.getCounts();
    m_Devices.Clear();
    m_Listed.clear();
    m_ListedIndexes.clear();
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
            char mac[32] = {};
            if (m_Api.getMacString(index, mac, sizeof mac)) {
                listed.mac = MacFromDashedText(std::string_view(mac, strnlen(mac, sizeof mac)));
            }
            m_Listed.push_back(std::move(listed));
            m_ListedIndexes.push_back(index);
        }
    }
    if (m_Listed.empty()) {
        return;
    }
    const std::vector<std::optional<std::string>> local =
        vanmoor::listing::ReadLocalAddresses({.setIPSearch = m_Api.setIPSearch,
                                              .getIPcount = m_Api.getIPcount,
                                              .getIPinfo = m_Api.getIPinfo,
                                              .getMacString = m_Api.getMacString},
                                             count, m_ChosenAddress.value_or(""));
    for (std::size_t listed = 0; listed < m_Listed.size(); ++listed) {
        m_Listed[listed].localAddress = local[static_cast<std::size_t>(m_ListedIndexes[listed])];
    }
}

void DeviceSearch::ListWsdDevices(std::u16string_view marker) {
    DropAnswersOfBeforeTheChange();
    if (m_WsdFound.empty()) {
        return;
    }
    std::vector<vanmoor::site::SiteDevice> merged =
        vanmoor::listing::MergeDevices(std::move(m_Listed), std::exchange(m_WsdFound, {}));
    const std::size_t listedCount = m_ListedIndexes.size();
    for (std::size_t device = listedCount; device < merged.size(); ++device) {
        m_Devices.AddWsdRow(std::move(merged[device]), marker);
    }
    merged.resize(listedCount);
    for (std::size_t listed = 0; listed < listedCount; ++listed) {
        if (merged[listed].wsd) {
            m_Devices.SetWsdTwin(m_ListedIndexes[listed], *merged[listed].wsd);
        }
    }
    m_Listed = std::move(merged);
}

void DeviceSearch::ExpectChanged(const MacBytes& mac) {
    m_Changed.reset();
    for (const vanmoor::site::SiteDevice& device : m_Listed) {
        if (device.mac == mac && device.wsd) {
            m_Changed.emplace(mac, device.wsd->endpoint);
        }
    }
}

void DeviceSearch::DropAnswersOfBeforeTheChange() {
    const std::optional<std::pair<MacBytes, std::string>> changed = std::exchange(m_Changed, {});
    if (!changed) {
        return;
    }
    const auto now = std::find_if(m_Listed.begin(), m_Listed.end(),
                                  [&](const auto& device) { return device.mac == changed->first; });
    if (now == m_Listed.end()) {
        return; // it did not answer the search: its camera's answer is all there is of it
    }
    std::erase_if(m_WsdFound, [&](const vanmoor::site::SiteDevice& camera) {
        return camera.wsd && camera.wsd->endpoint == changed->second && camera.ip != now->ip;
    });
}

} // namespace kestrun
