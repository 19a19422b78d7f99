// Device queries: one field of one device of the table, named by its index.
#include "BroadCastManager.h"
#include "CatchAll.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vanmoor {

namespace {

std::string Dotted(const Ipv4Bytes& address) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
    return text;
}

int Packed(const Ipv4Bytes& address) {
    const std::uint32_t value =
        static_cast<std::uint32_t>(address[0]) | static_cast<std::uint32_t>(address[1]) << 8 |
        static_cast<std::uint32_t>(address[2]) << 16 | static_cast<std::uint32_t>(address[3]) << 24;
    return static_cast<int>(value);
}

// Writes `text` into `out` as a terminated text of at most outSize bytes, cut when it is longer.
void CopyText(char* out, int outSize, const std::string& text) {
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(outSize - 1));
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
}

} // namespace

const DeviceRecord* CBroadCastManager::FindQueryRecord(int index) const {
    // Entry k of the table holds the record whose m_Index is k, or nothing.
    if (index < 0 || static_cast<std::size_t>(index) >= m_DeviceList.size()) {
        return nullptr;
    }
    const DeviceRecord* record = m_DeviceList[static_cast<std::size_t>(index)].get();
    if (record == nullptr || (m_bSearchByIP && record->m_LocalIP != m_SearchIP)) {
        return nullptr;
    }
    return record;
}

template <class Read>
bool CBroadCastManager::ReadRecord(const char* catchMessage, int index, Read&& read) {
    return CatchAll(catchMessage, false, [&] {
        std::lock_guard<std::mutex> lock(m_DeviceMutex);
        const DeviceRecord* record = FindQueryRecord(index);
        if (record == nullptr) {
            return false;
        }
        read(*record);
        return true;
    });
}

bool CBroadCastManager::QueryText(const char* catchMessage, int index, char* out, int outSize,
                                  std::string (*format)(const DeviceRecord&)) {
    if (out == nullptr || outSize < 1) {
        return false;
    }
    return ReadRecord(catchMessage, index,
                      [&](const DeviceRecord& record) { CopyText(out, outSize, format(record)); });
}

template <std::size_t Width>
bool CBroadCastManager::QueryBytes(const char* catchMessage, int index, void* out, int len,
                                   std::array<char, Width> DeviceRecord::*field) {
    if (out == nullptr || len < 0) {
        return false;
    }
    return ReadRecord(catchMessage, index, [&](const DeviceRecord& record) {
        std::memcpy(out, (record.*field).data(), std::min(static_cast<std::size_t>(len), Width));
    });
}

int CBroadCastManager::QueryValue(const char* catchMessage, int index,
                                  int (*value)(const DeviceRecord&)) {
    int result = 0;
    ReadRecord(catchMessage, index, [&](const DeviceRecord& record) { result = value(record); });
    return result;
}

bool CBroadCastManager::getMacString(int index, char* out, int outSize) {
    return QueryText("CBroadCastManager::getMacString() catch failed\n", index, out, outSize,
                     [](const DeviceRecord& record) {
                         const MacBytes& mac = record.m_MAC;
                         char text[32];
                         std::snprintf(text, sizeof text, "%d-%d-%d-%d-%d-%d", mac[0], mac[1],
                                       mac[2], mac[3], mac[4], mac[5]);
                         return std::string(text);
                     });
}

bool CBroadCastManager::getIPString(int index, char* out, int outSize) {
    return QueryText("CBroadCastManager::getIPString() catch failed\n", index, out, outSize,
                     [](const DeviceRecord& record) {
                         const Ipv4Bytes& ip = record.m_IP;
                         char text[16];
                         std::snprintf(text, sizeof text, "%03d.%03d.%03d.%03d", ip[0], ip[1],
                                       ip[2], ip[3]);
                         return std::string(text);
                     });
}

bool CBroadCastManager::getIPString_DetVer(int index, char* out, int outSize, char* protocolOut) {
    if (out == nullptr || outSize < 1 || protocolOut == nullptr) {
        return false;
    }
    return ReadRecord("CBroadCastManager::getIPString_DetVer() catch failed\n", index,
                      [&](const DeviceRecord& record) {
                          CopyText(out, outSize, Dotted(record.m_IP));
                          *protocolOut = static_cast<char>(record.m_Protocol);
                      });
}

int CBroadCastManager::getIPValue(int index) {
    return QueryValue("CBroadCastManager::getIPValue() catch failed\n", index,
                      [](const DeviceRecord& record) { return Packed(record.m_IP); });
}

int CBroadCastManager::getPort(int index) {
    return QueryValue("CBroadCastManager::getPort() catch failed\n", index,
                      [](const DeviceRecord& record) { return record.m_Port; });
}

bool CBroadCastManager::getGateWayString(int index, char* out, int outSize) {
    return QueryText("CBroadCastManager::getGateWayString() catch failed\n", index, out, outSize,
                     [](const DeviceRecord& record) { return Dotted(record.m_GateWay); });
}

int CBroadCastManager::getGateWayValue(int index) {
    return QueryValue("CBroadCastManager::getGateWayValue() catch failed\n", index,
                      [](const DeviceRecord& record) { return Packed(record.m_GateWay); });
}

bool CBroadCastManager::getNetMaskString(int index, char* out, int outSize) {
    return QueryText("CBroadCastManager::getNetMaskString() catch failed\n", index, out, outSize,
                     [](const DeviceRecord& record) { return Dotted(record.m_NetMask); });
}

int CBroadCastManager::getNetMaskValue(int index) {
    return QueryValue("CBroadCastManager::getNetMaskValue() catch failed\n", index,
                      [](const DeviceRecord& record) { return Packed(record.m_NetMask); });
}

bool CBroadCastManager::getName(int index, void* out, int len) {
    return QueryBytes("CBroadCastManager::getName() catch failed\n", index, out, len,
                      &DeviceRecord::m_Name);
}

bool CBroadCastManager::getDNS1String(int index, char* out, int outSize) {
    return QueryText("CBroadCastManager::getDNS1String() catch failed\n", index, out, outSize,
                     [](const DeviceRecord& record) { return Dotted(record.m_DNS1); });
}

int CBroadCastManager::getDNS1Value(int index) {
    return QueryValue("CBroadCastManager::getDNS1Value() catch failed\n", index,
                      [](const DeviceRecord& record) { return Packed(record.m_DNS1); });
}

bool CBroadCastManager::getDNS2String(int index, char* out, int outSize) {
    return QueryText("CBroadCastManager::getDNS2String() catch failed\n", index, out, outSize,
                     [](const DeviceRecord& record) { return Dotted(record.m_DNS2); });
}

int CBroadCastManager::getDNS2Value(int index) {
    return QueryValue("CBroadCastManager::getDNS2Value() catch failed\n", index,
                      [](const DeviceRecord& record) { return Packed(record.m_DNS2); });
}

int CBroadCastManager::getDHCP(int index) {
    return QueryValue("CBroadCastManager::getDHCP() catch failed\n", index,
                      [](const DeviceRecord& record) {
                          const bool on = record.m_Protocol != 0 ? record.m_DHCPAlt : record.m_DHCP;
                          return on ? 1 : 0;
                      });
}

int CBroadCastManager::getType(int index) {
    return QueryValue("CBroadCastManager::getType() catch failed\n", index,
                      [](const DeviceRecord& record) { return record.m_Type; });
}

bool CBroadCastManager::getDevice(int index, void* out, int len) {
    return QueryBytes("CBroadCastManager::getDevice() catch failed\n", index, out, len,
                      &DeviceRecord::m_Device);
}

bool CBroadCastManager::getVersion(int index, void* out, int len) {
    return QueryBytes("CBroadCastManager::getVersion() catch failed\n", index, out, len,
                      &DeviceRecord::m_Version);
}

bool CBroadCastManager::getBrand(int index, void* out, int len) {
    return QueryBytes("CBroadCastManager::getBrand() catch failed\n", index, out, len,
                      &DeviceRecord::m_Brand);
}

bool CBroadCastManager::getModeName(int index, void* out, int len) {
    return QueryBytes("CBroadCastManager::getModeName() catch failed\n", index, out, len,
                      &DeviceRecord::m_ModeName);
}

bool CBroadCastManager::getCameraName1(int index, void* out, int len) {
    return QueryBytes("CBroadCastManager::getCameraName1() catch failed\n", index, out, len,
                      &DeviceRecord::m_CameraName1);
}

} // namespace vanmoor
