#pragma once

#include "DeviceReader.h"
#include "LibraryApi.h"
#include "SiteDevice.h"

#include <optional>
#include <vector>

namespace kestrun {

using vanmoor::commission::HostAddress;
using vanmoor::commission::SiteDevice;

// The library queries of `api` in the table the shared device reader takes.
vanmoor::listing::DeviceQueries DeviceQueriesOf(const LibraryApi& api);

// The device at library index `index` as the commissioning layer sees it; none when the library
// does not list it (an emptied entry, or hidden by the interface filter). The address it was
// found through is not known to the dialog and stays 0.0.0.0.
std::optional<SiteDevice> ReadSiteDevice(const LibraryApi& api, int index);

// Every device the library lists, in index order.
std::vector<SiteDevice> ReadSiteDevices(const LibraryApi& api);

// The library index of the device with `mac`; none when it is not listed.
std::optional<int> FindDeviceIndex(const LibraryApi& api, const vanmoor::settings::MacBytes& mac);

// The host addresses the library searches through, each with its interface's netmask.
std::vector<HostAddress> ReadHostAddresses(const LibraryApi& api);

} // namespace kestrun
