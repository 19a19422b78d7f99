// The C interface: each export checks for the manager and its arguments, forwards to one manager
// operation and turns anything unexpected into its failure value.
#include "../include/vanmoor.h"
#include "BroadCastManager.h"
#include "LibraryLog.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using vanmoor::CBroadCastManager;

namespace {

std::atomic<CBroadCastManager*> g_Manager{nullptr};

template <class Result, class Call> Result Forward(Result failure, Call&& call) noexcept {
    CBroadCastManager* manager = g_Manager.load();
    if (manager == nullptr) {
        return failure;
    }
    try {
        return call(*manager);
    } catch (...) {
        return failure;
    }
}

// The low byte of an int-passed bool counts.
bool LowByte(int value) {
    return (value & 0xff) != 0;
}

} // namespace

extern "C" {

VANMOOR_API void* init(void) {
    try {
        // A second init replaces the manager: the first one's endpoints and threads end here.
        delete g_Manager.exchange(nullptr);
        auto manager = std::make_unique<CBroadCastManager>();
        g_Manager = manager.get();
        return manager.release();
    } catch (...) {
        g_Manager = nullptr;
        return nullptr;
    }
}

VANMOOR_API void deinit(void) {
    vanmoor::WriteLog("deinit() begin\n");
    delete g_Manager.exchange(nullptr);
    vanmoor::WriteLog("deinit() end\n");
}

VANMOOR_API bool search(int milliseconds) {
    return Forward(false, [&](CBroadCastManager& manager) {
        if (!manager.search()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds > 0 ? milliseconds : 0));
        manager.UpdateDeviceList();
        return true;
    });
}

VANMOOR_API int getCounts(void) {
    return Forward(0, [](CBroadCastManager& manager) { return manager.getCounts(); });
}

VANMOOR_API bool getMacString(int index, char* out, int outSize) {
    return Forward(false,
                   [&](CBroadCastManager& m) { return m.getMacString(index, out, outSize); });
}

VANMOOR_API bool getIPString(int index, char* out, int outSize) {
    return Forward(false, [&](CBroadCastManager& m) { return m.getIPString(index, out, outSize); });
}

VANMOOR_API bool getIPString_DetVer(int index, char* out, int outSize, char* protocolOut) {
    return Forward(false, [&](CBroadCastManager& m) {
        return m.getIPString_DetVer(index, out, outSize, protocolOut);
    });
}

VANMOOR_API int getIPValue(int index) {
    return Forward(0, [&](CBroadCastManager& m) { return m.getIPValue(index); });
}

VANMOOR_API int getPort(int index) {
    return Forward(0, [&](CBroadCastManager& m) { return m.getPort(index); });
}

VANMOOR_API bool getGateWayString(int index, char* out, int outSize) {
    return Forward(false,
                   [&](CBroadCastManager& m) { return m.getGateWayString(index, out, outSize); });
}

VANMOOR_API int getGateWayValue(int index) {
    return Forward(0, [&](CBroadCastManager& m) { return m.getGateWayValue(index); });
}

VANMOOR_API bool getNetMaskString(int index, char* out, int outSize) {
    return Forward(false,
                   [&](CBroadCastManager& m) { return m.getNetMaskString(index, out, outSize); });
}

VANMOOR_API int getNetMaskValue(int index) {
    return Forward(0, [&](CBroadCastManager& m) { return m.getNetMaskValue(index); });
}

VANMOOR_API bool getName(int index, void* out, int len) {
    return Forward(false, [&](CBroadCastManager& m) { return m.getName(index, out, len); });
}

VANMOOR_API bool getDNS1String(int index, char* out, int outSize) {
    return Forward(false,
                   [&](CBroadCastManager& m) { return m.getDNS1String(index, out, outSize); });
}

VANMOOR_API int getDNS1Value(int index) {
    return Forward(0, [&](CBroadCastManager& m) { return m.getDNS1Value(index); });
}

VANMOOR_API bool getDNS2String(int index, char* out, int outSize) {
    return Forward(false,
                   [&](CBroadCastManager& m) { return m.getDNS2String(index, out, outSize); });
}

VANMOOR_API int getDNS2Value(int index) {
    return Forward(0, [&](CBroadCastManager& m) { return m.getDNS2Value(index); });
}

VANMOOR_API int getDHCP(int index) {
    return Forward(0, [&](CBroadCastManager& m) { return m.getDHCP(index); });
}

VANMOOR_API int getType(int index) {
    return Forward(0, [&](CBroadCastManager& m) { return m.getType(index); });
}

VANMOOR_API bool getDevice(int index, void* out, int len) {
    return Forward(false, [&](CBroadCastManager& m) { return m.getDevice(index, out, len); });
}

VANMOOR_API bool getVersion(int index, void* out, int len) {
    return Forward(false, [&](CBroadCastManager& m) { return m.getVersion(index, out, len); });
}

VANMOOR_API bool getBrand(int index, void* out, int len) {
    return Forward(false, [&](CBroadCastManager& m) { return m.getBrand(index, out, len); });
}

VANMOOR_API bool getModeName(int index, void* out, int len) {
    return Forward(false, [&](CBroadCastManager& m) { return m.getModeName(index, out, len); });
}

VANMOOR_API bool getCameraName1(int index, void* out, int len) {
    return Forward(false, [&](CBroadCastManager& m) { return m.getCameraName1(index, out, len); });
}

VANMOOR_API int set(NetSettings settings) {
    return Forward(0, [&](CBroadCastManager& m) { return m.set(settings); });
}

VANMOOR_API int set_MD5(AuthNetSettings settings) {
    return Forward(0, [&](CBroadCastManager& m) { return m.set_MD5(settings); });
}

VANMOOR_API bool set_MD5_Muti(AuthNetSettings settings) {
    return Forward(false, [&](CBroadCastManager& m) { return m.set_MD5_Muti(settings); });
}

VANMOOR_API bool setIPSearch(int enable, const char* address) {
    return Forward(false,
                   [&](CBroadCastManager& m) { return m.setIPSearch(LowByte(enable), address); });
}

VANMOOR_API int getIPcount(void) {
    return Forward(0, [](CBroadCastManager& m) { return m.getIPcount(); });
}

VANMOOR_API const char* getIPinfo(int i) {
    return Forward(static_cast<const char*>(nullptr),
                   [&](CBroadCastManager& m) { return m.getIPinfo(i); });
}

VANMOOR_API void setSaveOption(int enable, int seconds) {
    Forward(0, [&](CBroadCastManager& m) {
        m.setSaveOption(LowByte(enable), seconds);
        return 0;
    });
}

} // extern "C"
