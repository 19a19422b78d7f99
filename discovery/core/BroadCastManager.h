#pragma once

#include "../../discovery/include/vanmoor.h"
#include "../platform/SocketLayer.h"
#include "../transport/PackageSink.h"
#include "DeviceRecord.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace vanmoor {

class CBroadCastItem;

// The library's single manager: local addresses, UDP endpoints, the pending list that the receive
// threads fill and the device table that the queries read.
//
// Threads: the caller's thread runs every operation; each endpoint's receive thread calls
// PushPackage. m_ParserMutex guards the pending list, m_DeviceMutex the device table; when both
// are held, m_ParserMutex is taken first. Every operation catches every exception, logs
// "CBroadCastManager::<operation>() catch failed" and returns its failure value.
class CBroadCastManager final : public PackageSink {
public:
    // Distinct devices one pending list takes: four times the largest IPv4 /16 network, so a
    // sender inventing hardware addresses cannot take the host's memory (about 90 MiB at most).
    static constexpr std::size_t kPendingDeviceLimit = 262144;

    // `pendingDeviceLimit` is lowered only by tests.
    explicit CBroadCastManager(std::size_t pendingDeviceLimit = kPendingDeviceLimit);
    ~CBroadCastManager() override;
    CBroadCastManager(const CBroadCastManager&) = delete;
    CBroadCastManager& operator=(const CBroadCastManager&) = delete;

    // Search cycle.
    bool search();           // rebuilds the endpoints and broadcasts both requests
    void UpdateDeviceList(); // turns the pending list into the device table
    int getCounts();
    void PushPackage(std::unique_ptr<DeviceRecord> record) override;

    // Device queries by index.
    bool getMacString(int index, char* out, int outSize);
    bool getIPString(int index, char* out, int outSize);
    bool getIPString_DetVer(int index, char* out, int outSize, char* protocolOut);
    int getIPValue(int index);
    int getPort(int index);
    bool getGateWayString(int index, char* out, int outSize);
    int getGateWayValue(int index);
    bool getNetMaskString(int index, char* out, int outSize);
    int getNetMaskValue(int index);
    bool getName(int index, void* out, int len);
    bool getDNS1String(int index, char* out, int outSize);
    int getDNS1Value(int index);
    bool getDNS2String(int index, char* out, int outSize);
    int getDNS2Value(int index);
    int getDHCP(int index);
    int getType(int index);
    bool getDevice(int index, void* out, int len);
    bool getVersion(int index, void* out, int len);
    bool getBrand(int index, void* out, int len);
    bool getModeName(int index, void* out, int len);
    bool getCameraName1(int index, void* out, int len);

    // Settings commands.
    int set(const NetSettings& sInfo);
    int set_MD5(const AuthNetSettings& sInfo);
    bool set_MD5_Muti(const AuthNetSettings& sInfo);

    // Local addresses and options.
    bool setIPSearch(bool enable, const char* ip);
    int getIPcount();
    const char* getIPinfo(int i);
    void setSaveOption(bool enable, int seconds);

private:
    // The record a query names, or null for a miss. Caller holds m_DeviceMutex.
    const DeviceRecord* FindQueryRecord(int index) const;
    // Runs `read` on the record of `index` under m_DeviceMutex; false on a miss or exception.
    template <class Read> bool ReadRecord(const char* operation, int index, Read&& read);
    bool QueryText(const char* operation, int index, char* out, int outSize,
                   std::string (*format)(const DeviceRecord&));
    template <std::size_t Width>
    bool QueryBytes(const char* operation, int index, void* out, int len,
                    std::array<char, Width> DeviceRecord::*field);
    int QueryValue(const char* operation, int index, int (*value)(const DeviceRecord&));
    // The first endpoint on `localIP` working on `port`, or null.
    CBroadCastItem* FindEndpoint(const std::string& localIP, int port) const;
    void DestroyEndpoints();
    // set_MD5 and set_MD5_Muti; the latter passes over records found on port 4022.
    bool SendAuthCommand(const AuthNetSettings& sInfo, const char* logPrefix,
                         bool skipPlainRecords);

    // First member: started before any socket of the manager, cleaned up after the last.
    platform::SocketLayer m_SocketLayer;
    std::mutex m_ParserMutex;
    std::mutex m_DeviceMutex;
    // Pending list and device table. Entry k holds the record whose m_Index is k; a record
    // dropped at a table update leaves a null entry in its place.
    std::vector<std::unique_ptr<DeviceRecord>> m_ParserList;
    std::vector<std::unique_ptr<DeviceRecord>> m_DeviceList;
    // Pending records by MAC, so that merging a reply costs the same with 20 or 20,000 devices.
    std::unordered_map<std::uint64_t, DeviceRecord*> m_PendingByMac;
    const std::size_t m_PendingDeviceLimit;
    // Replies of new devices turned away since the last table update, for its log line. Guarded
    // by m_ParserMutex.
    std::uint64_t m_RefusedReplies = 0;
    std::vector<std::unique_ptr<CBroadCastItem>> m_BroadCastItemList;
    std::vector<std::string> m_SearchbyIPVector;
    std::atomic<bool> m_bReceiving{true};
    bool m_bSearchByIP = false;
    std::string m_SearchIP;
    std::atomic<bool> m_bSaveOption{false};
    std::int32_t m_SaveTime = 0;
};

} // namespace vanmoor
