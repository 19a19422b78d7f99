#include "DeviceReading.h"

#include "DeviceReader.h"
#include "vanmoor.h"

namespace vanmoor::cli {

std::optional<DeviceInfo> ReadDevice(int index) {
    static constexpr listing::DeviceQueries kExports = {
        .getMacString = &::getMacString,
        .getIPString_DetVer = &::getIPString_DetVer,
        .getNetMaskString = &::getNetMaskString,
        .getGateWayString = &::getGateWayString,
        .getDNS1String = &::getDNS1String,
        .getDNS2String = &::getDNS2String,
        .getPort = &::getPort,
        .getDHCP = &::getDHCP,
        .getType = &::getType,
        .getName = &::getName,
        .getDevice = &::getDevice,
        .getVersion = &::getVersion,
        .getBrand = &::getBrand,
        .getModeName = &::getModeName,
        .getCameraName1 = &::getCameraName1,
    };
    return listing::ReadDevice(kExports, index);
}

} // namespace vanmoor::cli
