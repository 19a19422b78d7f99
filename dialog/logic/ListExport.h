#pragma once

#include "DeviceInfo.h"
#include "DeviceList.h"
#include "LibraryApi.h"
#include "Printer.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kestrun {

using vanmoor::listing::DeviceInfo;
using vanmoor::listing::OutputFormat;

// The devices of `list` in the order its rows show, read from the library with what they also
// answered WS-Discovery, and the WS-Discovery cameras with what they told; a row whose device
// the library no longer lists is left out.
std::vector<DeviceInfo> ReadListedDevices(const LibraryApi& api, const DeviceList& list);

// `devices` as `vanmoor scan --output csv` or `json` prints them: the same keys (its default set
// for those formats, with the WS-Discovery ones when `wsdSearched`), the same list name and the
// same escaping of device texts.
void WriteListExport(const std::vector<DeviceInfo>& devices, OutputFormat format, std::ostream& out,
                     bool wsdSearched = false);

// The format of an export file: CSV or JSON by the name's extension (in any case), otherwise
// `chosen`, the one of the filter picked in the file dialog.
OutputFormat ExportFormatFor(std::string_view fileName, OutputFormat chosen);

// The file an export goes to: `fileName`, with the extension of `format` added when it has none.
std::string ExportFileName(std::string_view fileName, OutputFormat format);

} // namespace kestrun
