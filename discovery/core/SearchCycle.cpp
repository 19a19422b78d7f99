// The search cycle: endpoints rebuilt and requests sent, then the pending list becomes the table.
#include "../transport/BroadCastItem.h"
#include "../transport/DiscoveryRequests.h"
#include "../transport/Parser32970.h"
#include "../transport/Parser4022.h"
#include "../transport/Protocol32970.h"
#include "../transport/Protocol4022.h"
#include "../transport/ReplyRouting.h"
#include "BroadCastManager.h"
#include "CatchAll.h"

#include <algorithm>
#include <ctime>

namespace vanmoor {

namespace {

// An endpoint on `localIP` whose parser hands its records to the manager through the endpoint's
// reply routing.
template <class Parser>
std::unique_ptr<CBroadCastItem>
MakeEndpoint(CBroadCastManager& manager, int port, const std::string& localIP,
             const std::vector<std::string>& listed,
             const std::vector<platform::InterfaceAddress>& interfaces) {
    auto routing = ReplyRouting::ForEndpoint(manager, listed, localIP, interfaces);
    auto parser = std::make_unique<Parser>(routing.get());
    return std::make_unique<CBroadCastItem>(port, std::move(parser), localIP, std::move(routing));
}

} // namespace

bool CBroadCastManager::search() {
    return CatchAll("CBroadCastManager::OnSearch() catch failed\n", false, [&] {
        WriteLog("CBroadCastManager::search()::clean m_BroadCastItemList\n");
        DestroyEndpoints();
        const auto interfaces = platform::LocalIpv4Addresses();
        for (const std::string& localIP : m_SearchbyIPVector) {
            m_BroadCastItemList.push_back(MakeEndpoint<CParserImp_32970port>(
                *this, kPort32970, localIP, m_SearchbyIPVector, interfaces));
            m_BroadCastItemList.push_back(MakeEndpoint<CParserImp_4022port>(
                *this, kPort4022, localIP, m_SearchbyIPVector, interfaces));
        }
        bool result = true;
        for (const auto& endpoint : m_BroadCastItemList) {
            if (endpoint->ProtocolPort() == kPort4022) {
                const auto request = MakeSearchRequest4022();
                const int code = endpoint->SendPacket(request.data(), request.size());
                WriteLog("tool->SendPacket(4022) = %d\n", code);
                result = result && code == 0;
            } else if (endpoint->ProtocolPort() == kPort32970) {
                const auto request = MakeSearchRequest32970();
                const int code = endpoint->SendPacket(request.data(), request.size());
                WriteLog("tool->SendPacket(32970) = %d\n", code);
                result = result && code == 0;
            }
        }
        return result;
    });
}

void CBroadCastManager::UpdateDeviceList() {
    try {
        WriteLog("CBroadCastManager::UpdateDeviceList() pause recv\n");
        for (const auto& endpoint : m_BroadCastItemList) {
            endpoint->SetPause(true);
        }
        WriteLog("CBroadCastManager::UpdateDeviceList() store(false)\n");
        m_bReceiving = false;

        WriteLog("CBroadCastManager::UpdateDeviceList() update m_ParserList");
        {
            std::lock_guard<std::mutex> parserLock(m_ParserMutex);
            const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
            const bool ageLimit = m_bSaveOption;
            const std::int64_t maxAge = m_SaveTime;
            m_PendingByMac.clear();
            for (auto& record : m_ParserList) {
                if (!record) {
                    continue;
                }
                const bool listed = std::find(m_SearchbyIPVector.begin(), m_SearchbyIPVector.end(),
                                              record->m_LocalIP) != m_SearchbyIPVector.end();
                if (!listed || (ageLimit && now - record->m_LastSeen > maxAge)) {
                    record.reset(); // the entry stays, empty, so indexes keep their meaning
                }
            }

            WriteLog("CBroadCastManager::UpdateDeviceList() clean m_DeviceList\n");
            std::lock_guard<std::mutex> deviceLock(m_DeviceMutex);
            m_DeviceList.clear();
            WriteLog("CBroadCastManager::UpdateDeviceList() move\n");
            m_DeviceList = std::move(m_ParserList);
            m_ParserList.clear();
            if (m_RefusedReplies != 0) {
                WriteLog("CBroadCastManager::UpdateDeviceList() refused %llu replies of new "
                         "devices beyond %zu\n",
                         static_cast<unsigned long long>(m_RefusedReplies), m_PendingDeviceLimit);
                m_RefusedReplies = 0;
            }
        }

        WriteLog("CBroadCastManager::UpdateDeviceList() store(true)\n");
        m_bReceiving = true;
        WriteLog("CBroadCastManager::UpdateDeviceList() continue recv\n");
        for (const auto& endpoint : m_BroadCastItemList) {
            endpoint->SetPause(false);
        }
        WriteLog("CBroadCastManager::UpdateDeviceList() end\n");
    } catch (...) {
        WriteLog("CBroadCastManager::UpdateDeviceList() catch failed\n");
        // Receiving goes on whatever failed, or no reply would ever be taken again.
        m_bReceiving = true;
        for (const auto& endpoint : m_BroadCastItemList) {
            endpoint->SetPause(false);
        }
    }
}

int CBroadCastManager::getCounts() {
    return CatchAll("CBroadCastManager::getCounts() catch failed\n", 0, [&] {
        std::lock_guard<std::mutex> lock(m_DeviceMutex);
        const int count = static_cast<int>(m_DeviceList.size());
        WriteLog("CBroadCastManager::getCounts() = %d\n", count);
        return count;
    });
}

} // namespace vanmoor
