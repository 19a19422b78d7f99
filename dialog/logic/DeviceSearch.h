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
    // that is none of the library's devices; a camera that is one adds nothing to its row.
    void ListWsdDevices(std::u16string_view marker);

private:
    void RefillChoice();
    // The local address a library device answered through: the chosen interface's, else the
    // one host address whose subnet holds the device; empty when that is not known.
    std::optional<std::string>
    LocalAddressOf(const Ipv4Octets& ip,
                   const std::vector<vanmoor::commission::HostAddress>& hosts) const;
    // The host addresses the search went through, each with its netmask.
    std::vector<vanmoor::commission::HostAddress> SearchedHostAddresses() const;

    const LibraryApi& m_Api;
    const UiTextTable& m_Texts;
    InterfaceChoice& m_Choice;
    DeviceList& m_Devices;
    WsdScan* m_WsdScan;
    // The chosen interface's address, when one was chosen.
    std::optional<std::string> m_ChosenAddress;
    // The library's devices as last listed (address and name), for the merge.
    std::vector<vanmoor::site::SiteDevice> m_Listed;
    // What the scan found; written by RunSearch(), read after it by ListWsdDevices().
    std::vector<vanmoor::site::SiteDevice> m_WsdFound;
};

} // namespace kestrun
