#pragma once

#include "DeviceInfo.h"

#include <optional>

namespace vanmoor::listing {

// The library's queries that describe a device, with the signatures of its exports: the command
// line hands in the exports themselves, the dialog the entries of its own function table.
struct DeviceQueries {
    bool (*getMacString)(int index, char* out, int outSize);
    bool (*getIPString_DetVer)(int index, char* out, int outSize, char* protocolOut);
    bool (*getNetMaskString)(int index, char* out, int outSize);
    bool (*getGateWayString)(int index, char* out, int outSize);
    bool (*getDNS1String)(int index, char* out, int outSize);
    bool (*getDNS2String)(int index, char* out, int outSize);
    int (*getPort)(int index);
    int (*getDHCP)(int index);
    int (*getType)(int index);
    bool (*getName)(int index, void* out, int len);
    bool (*getDevice)(int index, void* out, int len);
    bool (*getVersion)(int index, void* out, int len);
    bool (*getBrand)(int index, void* out, int len);
    bool (*getModeName)(int index, void* out, int len);
    bool (*getCameraName1)(int index, void* out, int len);
};

// The device at `index` of the library's table; none when the queries do not find it (an
// emptied entry, or hidden by the interface filter). The local address stays unknown.
std::optional<DeviceInfo> ReadDevice(const DeviceQueries& queries, int index);

} // namespace vanmoor::listing
