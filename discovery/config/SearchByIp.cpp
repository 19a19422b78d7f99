// Local address list, interface filter and save option of the manager.
#include "../core/BroadCastManager.h"
#include "../core/CatchAll.h"
#include "../platform/InterfaceAddresses.h"

#include <optional>
#include <string>

namespace vanmoor {

bool CBroadCastManager::setIPSearch(bool enable, const char* ip) {
    return CatchAll("CBroadCastManager::setIPSearch() catch failed\n", false, [&] {
        // Copied before the list is rebuilt: callers hand back the text getIPinfo gave them,
        // which lives in that list.
        const std::optional<std::string> wanted =
            ip != nullptr ? std::optional<std::string>(ip) : std::nullopt;
        m_SearchbyIPVector.clear();
        for (const auto& local : platform::LocalIpv4Addresses()) {
            m_SearchbyIPVector.push_back(local.address);
        }
        m_bSearchByIP = false;
        m_SearchIP.clear();
        if (!enable) {
            return true;
        }
        for (const auto& address : m_SearchbyIPVector) {
            if (wanted && address == *wanted) {
                m_bSearchByIP = true;
                m_SearchIP = *wanted;
                return true;
            }
        }
        WriteLog("CBroadCastManager::setIPSearch::Doesn't find\n");
        return false;
    });
}

int CBroadCastManager::getIPcount() {
    const int count = static_cast<int>(m_SearchbyIPVector.size());
    WriteLog("CBroadCastManager::getIPcount() = %d\n", count);
    return count;
}

const char* CBroadCastManager::getIPinfo(int i) {
    return CatchAll("CBroadCastManager::getIPinfo() catch failed\n",
                    static_cast<const char*>(nullptr), [&]() -> const char* {
                        if (i < 0 || i >= static_cast<int>(m_SearchbyIPVector.size())) {
                            WriteLog("CBroadCastManager::getIPinfo() catch failed\n");
                            return nullptr;
                        }
                        return m_SearchbyIPVector[static_cast<size_t>(i)].c_str();
                    });
}

void CBroadCastManager::setSaveOption(bool enable, int seconds) {
    m_bSaveOption.store(enable);
    m_SaveTime = seconds;
}

} // namespace vanmoor
