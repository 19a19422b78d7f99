#include "BroadCastManager.h"

#include "../transport/BroadCastItem.h"
#include "LibraryLog.h"

namespace vanmoor {

CBroadCastManager::CBroadCastManager(std::size_t pendingDeviceLimit)
    : m_PendingDeviceLimit(pendingDeviceLimit) {
    LibraryLog().ReadLogConfig();
    // A failed start-up is logged and the manager still works as far as it can.
    if (const int error = m_SocketLayer.StartError(); error != 0) {
        WriteLog("BroadPackage::initial::WSAStartup failed, error = %d", error);
    }
}

CBroadCastManager::~CBroadCastManager() {
    WriteLog("CBroadCastManager::~CBroadCastManager() begin\n");
    m_bReceiving = false;
    WriteLog("CBroadCastManager::~CBroadCastManager()::clean m_BroadCastItemList\n");
    DestroyEndpoints();
    // No lock from here on: every receive thread has been joined.
    WriteLog("CBroadCastManager::~CBroadCastManager()::clean m_ParserList\n");
    m_PendingByMac.clear();
    m_ParserList.clear();
    WriteLog("CBroadCastManager::~CBroadCastManager()::clean m_DeviceList\n");
    m_DeviceList.clear();
    WriteLog("CBroadCastManager::~CBroadCastManager()::clean m_SearchbyIPVector\n");
    while (!m_SearchbyIPVector.empty()) {
        m_SearchbyIPVector.pop_back();
    }
    WriteLog("CBroadCastManager::~CBroadCastManager() end\n");
}

void CBroadCastManager::DestroyEndpoints() {
    // From the front, as they were created; each destruction joins its receive thread.
    for (auto& endpoint : m_BroadCastItemList) {
        endpoint.reset();
    }
    m_BroadCastItemList.clear();
}

CBroadCastItem* CBroadCastManager::FindEndpoint(const std::string& localIP, int port) const {
    for (const auto& endpoint : m_BroadCastItemList) {
        if (endpoint->GetLocalIP() == localIP && endpoint->ProtocolPort() == port) {
            return endpoint.get();
        }
    }
    return nullptr;
}

} // namespace vanmoor
