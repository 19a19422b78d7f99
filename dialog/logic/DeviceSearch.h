#pragma once

#include "DeviceList.h"
#include "InterfaceChoice.h"
#include "LibraryApi.h"
#include "UiTextTable.h"

namespace kestrun {

// One search as the search button runs it, in three steps so that the wait can run on another
// thread: ChooseInterface(), then RunSearch() (off the user-interface thread), then
// ListDevices(). Nothing else may call the library while RunSearch() runs.
class DeviceSearch {
public:
    static constexpr int kWaitMilliseconds = 1500;

    DeviceSearch(const LibraryApi& api, const UiTextTable& texts, InterfaceChoice& choice,
                 DeviceList& devices);

    // Refills the interface choice from the library's local addresses, selects the entry chosen
    // before again, and asks the library to search on that interface (or on all, when "Select
    // All" or nothing was chosen). False when the library refused the interface: then call
    // RefillAfterRefusal() and run no search.
    bool ChooseInterface();

    // Refills the interface choice from the addresses the library has now, nothing selected.
    void RefillAfterRefusal();

    // Broadcasts and waits. Touches nothing but the library.
    bool RunSearch() const;

    // Replaces the rows with the devices found when `searched`; otherwise logs the failure and
    // keeps the rows. Devices that a query misses get no row.
    void ListDevices(bool searched);

private:
    void RefillChoice();

    const LibraryApi& m_Api;
    const UiTextTable& m_Texts;
    InterfaceChoice& m_Choice;
    DeviceList& m_Devices;
};

} // namespace kestrun
