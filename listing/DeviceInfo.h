#pragma once

#include "AddressText.h"
#include "Record.h"
#include "SiteRecord.h"

#include <string>
#include <vector>

namespace vanmoor::listing {

using settings::Ipv4Octets;
using settings::MacBytes;

// The one device record, under the name the listing has always used.
using DeviceInfo = site::SiteDevice;
using site::kWsdProtocol;
using site::WsdDetails;

// Every protocol the device answered: "4022", "32970,3702", "3702".
std::string ProtocolsText(const DeviceInfo& device);
// What names the device to a person: its MAC, else its endpoint reference.
std::string DeviceIdentity(const DeviceInfo& device);

// Every field, in the order of the full list of keys; an unknown local address or MAC is null,
// and so is every WS-Discovery field of a device that did not answer WS-Discovery.
Record DeviceRecord(const DeviceInfo& device);

// Keys of DeviceRecord: every one, the eleven that people look at first, the WS-Discovery ones,
// those a read of the device service adds to the main ones, and the few that fit a table in 80
// columns.
const std::vector<std::string>& AllDeviceKeys();
const std::vector<std::string>& MainDeviceKeys();
const std::vector<std::string>& WsdDeviceKeys();
const std::vector<std::string>& DeviceServiceKeys();
const std::vector<std::string>& TableDeviceKeys();
// The keys a CSV or JSON list has unless asked for others: the main ones, then the WS-Discovery
// ones when that search ran, then the device service's when cameras were read.
std::vector<std::string> ListDeviceKeys(bool wsdSearched, bool deviceServiceRead = false);

} // namespace vanmoor::listing
