#pragma once

#include "DeviceInfo.h"
#include "DeviceListWriter.h"
#include "Printer.h"
#include "Record.h"

// The device records and output formats live in the listing library, shared with Kestrun's
// export; the command line names them as its own.
namespace vanmoor::cli {

using listing::AllDeviceKeys;
using listing::DeviceIdentity;
using listing::DeviceInfo;
using listing::DeviceRecord;
using listing::Field;
using listing::MainDeviceKeys;
using listing::MakePrinter;
using listing::OutputFormat;
using listing::Printer;
using listing::Record;
using listing::SelectFields;
using listing::SortRecords;
using listing::TableDeviceKeys;
using listing::Value;
using listing::WriteDeviceList;
using settings::Ipv4Octets;
using settings::MacBytes;

} // namespace vanmoor::cli
