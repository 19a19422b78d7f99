// The pending list: replies accepted since the last table update, one record per device.
#include "BroadCastManager.h"
#include "LibraryLog.h"

#include <ctime>

namespace vanmoor {

namespace {

std::uint64_t MacKey(const MacBytes& mac) {
    std::uint64_t key = 0;
    for (const std::uint8_t byte : mac) {
        key = key << 8 | byte;
    }
    return key;
}

} // namespace

void CBroadCastManager::PushPackage(std::unique_ptr<DeviceRecord> record) {
    if (!m_bReceiving) {
        WriteLog("delete info\n");
        return;
    }
    try {
        std::lock_guard<std::mutex> lock(m_ParserMutex);
        record->m_LastSeen = static_cast<std::int64_t>(std::time(nullptr));
        const std::uint64_t key = MacKey(record->m_MAC);
        if (const auto known = m_PendingByMac.find(key); known != m_PendingByMac.end()) {
            // The latest reply's contents, the first reply's place and index.
            DeviceRecord& existing = *known->second;
            const std::int32_t index = existing.m_Index;
            existing = std::move(*record);
            existing.m_Index = index;
            return;
        }
        if (m_ParserList.size() >= m_PendingDeviceLimit) {
            ++m_RefusedReplies; // counted, not logged: a flood would flood the log too
            return;
        }
        record->m_Index = static_cast<std::int32_t>(m_ParserList.size());
        DeviceRecord* stored = record.get();
        m_ParserList.push_back(std::move(record));
        try {
            m_PendingByMac.emplace(key, stored);
        } catch (...) {
            m_ParserList.pop_back();
            throw;
        }
    } catch (...) {
        WriteLog("CBroadCastManager::PushPackage() catch failed\n");
    }
}

} // namespace vanmoor
