// The settings commands: checks, the device found by MAC, the command sent through the endpoint
// on which the device answered.
#include "../core/BroadCastManager.h"
#include "../core/CatchAll.h"
#include "../transport/BroadCastItem.h"
#include "../transport/Protocol32970.h"
#include "../transport/Protocol4022.h"
#include "AuthSetCommand.h"
#include "SetCommand.h"
#include "SettingsChecks.h"

#include <algorithm>

namespace vanmoor {

namespace {

bool SameMac(const DeviceRecord& record, const unsigned char (&mac)[6]) {
    return std::equal(record.m_MAC.begin(), record.m_MAC.end(), mac);
}

template <class Settings> NewAddressValues NewValuesOf(const Settings& sInfo) {
    return {Ipv4Octets(sInfo.IP), Ipv4Octets(sInfo.netmask), Ipv4Octets(sInfo.gateway), sInfo.port};
}

} // namespace

int CBroadCastManager::set(const NetSettings& sInfo) {
    return CatchAll("CBroadCastManager::set() catch failed\n", 0, [&] {
        const unsigned char* mac = sInfo.MAC;
        WriteLog("CBroadCastManager::set::%d %d %d %d %d %d\n", mac[0], mac[1], mac[2], mac[3],
                 mac[4], mac[5]);
        if (!CheckNewAddressValues(kSetLogPrefix, NewValuesOf(sInfo))) {
            return 0;
        }
        {
            std::lock_guard<std::mutex> lock(m_DeviceMutex);
            for (const auto& record : m_DeviceList) {
                if (!record) {
                    continue;
                }
                const MacBytes& known = record->m_MAC;
                WriteLog("%d %d %d %d %d %d\n", known[0], known[1], known[2], known[3], known[4],
                         known[5]);
                if (!SameMac(*record, sInfo.MAC)) {
                    continue;
                }
                // The record takes the new values whether or not a command can be sent for it.
                const SetCommand command = BuildSetCommand(*record, sInfo);
                if (CBroadCastItem* endpoint = FindEndpoint(record->m_LocalIP, kPort4022)) {
                    const int sent =
                        endpoint->SendPacket(command.data(), static_cast<int>(command.size()));
                    return sent == 0 ? 1 : 0;
                }
            }
        }
        WriteLog("%s", kMacErrorBig5);
        return 0;
    });
}

bool CBroadCastManager::SendAuthCommand(const AuthNetSettings& sInfo, const char* logPrefix,
                                        bool skipPlainRecords) {
    if (!CheckNewAddressValues(logPrefix, NewValuesOf(sInfo))) {
        return false;
    }
    std::lock_guard<std::mutex> lock(m_DeviceMutex);
    for (const auto& record : m_DeviceList) {
        if (!record || !SameMac(*record, sInfo.MAC)) {
            continue;
        }
        if (record->m_Protocol == 0) {
            WriteLog("%sPermission_Denied\n", logPrefix);
            if (skipPlainRecords) {
                continue;
            }
            return false;
        }
        const AuthDigest digest = MakeAuthDigest(sInfo.user, sInfo.password);
        const auto command = BuildAuthSetCommand(record->m_MAC, sInfo, digest);
        if (CBroadCastItem* endpoint = FindEndpoint(record->m_LocalIP, kPort32970)) {
            return endpoint->SendPacket(command.data(), static_cast<int>(command.size())) == 0;
        }
    }
    return false;
}

int CBroadCastManager::set_MD5(const AuthNetSettings& sInfo) {
    return CatchAll("CBroadCastManager::set_MD5() catch failed\n", 0,
                    [&] { return SendAuthCommand(sInfo, kSetMD5LogPrefix, false) ? 1 : 0; });
}

bool CBroadCastManager::set_MD5_Muti(const AuthNetSettings& sInfo) {
    return CatchAll("CBroadCastManager::set_MD5_Muti() catch failed\n", false,
                    [&] { return SendAuthCommand(sInfo, kSetMD5MutiLogPrefix, true); });
}

} // namespace vanmoor
