#include "LibraryApi.h"

namespace kestrun {

LibraryApi RealLibraryApi() {
    return LibraryApi{
        .init = &::init,
        .deinit = &::deinit,
        .search = &::search,
        .getCounts = &::getCounts,
        .setIPSearch = &::setIPSearch,
        .getIPcount = &::getIPcount,
        .getIPinfo = &::getIPinfo,
        .getName = &::getName,
        .getIPString = &::getIPString,
        .getIPString_DetVer = &::getIPString_DetVer,
        .getMacString = &::getMacString,
        .getPort = &::getPort,
        .getNetMaskString = &::getNetMaskString,
        .getGateWayString = &::getGateWayString,
        .getDNS1String = &::getDNS1String,
        .getDNS2String = &::getDNS2String,
        .getDHCP = &::getDHCP,
        .getType = &::getType,
        .getDevice = &::getDevice,
        .getVersion = &::getVersion,
        .getBrand = &::getBrand,
        .getModeName = &::getModeName,
        .getCameraName1 = &::getCameraName1,
        .set = &::set,
        .set_MD5 = &::set_MD5,
    };
}

} // namespace kestrun
