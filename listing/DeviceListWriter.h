#pragma once

#include "Printer.h"

#include <ostream>
#include <string>
#include <vector>

namespace vanmoor::listing {

// A list of devices in `format`, each record cut down to `keys` in their order, under the list
// name "devices": what `vanmoor scan` prints and what Kestrun exports.
void WriteDeviceList(OutputFormat format, std::ostream& out, const std::vector<Record>& devices,
                     const std::vector<std::string>& keys);

} // namespace vanmoor::listing
