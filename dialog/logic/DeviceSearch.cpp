#include "DeviceSearch.h"

#include "ProgramLog.h"
#include "SharedSettings.h"

#include <cstring>
#include <limits>

namespace kestrun {

DeviceSearch::DeviceSearch(const LibraryApi& api, const UiTextTable& texts, InterfaceChoice& choice,
                           DeviceList& devices)
    : m_Api(api), m_Texts(texts), m_Choice(choice), m_Devices(devices) {}

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
    if (chosenIndex > 0) {
        const std::string address =
            Utf8FromUtf16(chosenText, std::numeric_limits<std::size_t>::max());
        return m_Api.setIPSearch(1, address.c_str());
    }
    return m_Api.setIPSearch(0, "");
}

void DeviceSearch::RefillAfterRefusal() {
    RefillChoice();
}

bool DeviceSearch::RunSearch() const {
    return m_Api.search(kWaitMilliseconds);
}

void DeviceSearch::ListDevices(bool searched) {
    if (!searched) {
        ProgramLog().WriteLog("CIpEditDlg::OnSearch() failed\n");
        return;
    }
    const int count = m_Api.getCounts();
    m_Devices.Clear();
    for (int index = 0; index < count; ++index) {
        char name[DeviceList::kNameBytes] = {};
        char ip[30] = {};
        const bool named = m_Api.getName(index, name, sizeof name);
        const bool addressed = m_Api.getIPString(index, ip, sizeof ip);
        if (named && addressed) {
            m_Devices.AddDeviceRow(index, std::string_view(name, sizeof name),
                                   std::string_view(ip, strnlen(ip, sizeof ip)));
        }
    }
}

} // namespace kestrun
