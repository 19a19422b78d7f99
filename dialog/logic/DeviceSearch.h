#pragma once

#include "DeviceList.h"
#include "InterfaceChoice.h"
#include "LibraryApi.h"
#include "SharedSettings.h"
#include "SiteDevice.h"
#include "UiTextTable.h"
#include "WsdScan.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrun {

// One search as the search button runs it, in three steps so that the wait can run on another
// thread: ChooseInterface(), then RunSearch() (off the user-interface thread), then
// ListDevices() with ListWsdDevices(). Nothing else may call the library while RunSearch() runs.
// A WS-Discovery scan, when given, runs beside the library's search on the same interface.
class DeviceSearch {
public:
    static constexpr int kWaitMilliseconds = 1500;

    DeviceSearch(const LibraryApi& api, const UiTextTable& texts, InterfaceChoice& choice,
                 DeviceList& devices, WsdScan* wsdScan = nullptr);

    // Refills the interface choice from the library's local addresses, selects the entry chosen
    // before again, and asks the library to search on that interface (or on all, when "Select
    // All" or nothing was chosen). False when the library refused the interface: then call
    // RefillAfterRefusal() and run no search.
    bool ChooseInterface();

    // Refills the interface choice from the addresses the library has now, nothing selected.
    void RefillAfterRefusal();

    // Broadcasts and waits, the WS-Discovery scan beside it. Touches nothing but the library and
    // the scan.
    bool RunSearch();

    // Replaces the rows with the devices found when `searched`; otherwise logs the failure and
    // keeps the rows. Devices that a query misses get no row.
    void ListDevices(bool searched);
    // After ListDevices(): a row, its name followed by `marker`, for each camera the scan heard
    // that is none of the library's devices; a camera that is one adds its answer to that
    // device's row.
    void ListWsdDevices(std::u16string_view marker);

    // Before the search that follows new settings sent to the device with `mac`: a WS-Discovery
    // answer that still names that device as it was (its endpoint, but not the address it now
    // answers with) is from before the change and makes no row.
    void ExpectChanged(const MacBytes& mac);

private:
    void RefillChoice();
    // Drops the answers of the device just changed that are older than the change.
    void DropAnswersOfBeforeTheChange();

    const LibraryApi& m_Api;
    const UiTextTable& m_Texts;
    InterfaceChoice& m_Choice;
    DeviceList& m_Devices;
    WsdScan* m_WsdScan;
    // The chosen interface's address, when one was chosen.
    std::optional<std::string> m_ChosenAddress;
    // The library's devices as last listed (MAC, address, name, local address and, after the
    // merge, the WS-Discovery answer), with their library indexes.
    std::vector<vanmoor::site::SiteDevice> m_Listed;
    std::vector<int> m_ListedIndexes;
    // The device sent new settings, and the endpoint it answered WS-Discovery with before.
    std::optional<std::pair<MacBytes, std::string>> m_Changed;
    // What the scan found; written by RunSearch(), read after it by ListWsdDevices().
    std::vector<vanmoor::site::SiteDevice> m_WsdFound;
};

} // namespace kestrun
