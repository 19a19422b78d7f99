#include "SetCommand.h"

#include "../core/LibraryLog.h"
#include "../transport/DatagramFields.h"
#include "../transport/Protocol4022.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

// The change lines are Big5, as readers of this log expect: "修改" (modify) in Big5. A macro, so
// that each line stays a string literal whose format the compiler checks.
#define VANMOOR_MODIFY_BIG5 "\xad\xd7\xa7\xef"

namespace vanmoor {

namespace {

constexpr std::size_t kNameWidth = sizeof(NetSettings::name);

std::string DottedText(const unsigned char (&octets)[4]) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", octets[0], octets[1], octets[2], octets[3]);
    return text;
}

// Stores `value` into `field` when they differ; tells whether they did.
bool Replace(Ipv4Bytes& field, const unsigned char (&value)[4]) {
    if (std::equal(field.begin(), field.end(), value)) {
        return false;
    }
    std::copy(value, value + 4, field.begin());
    return true;
}

// Compared as text over at most the 18 name bytes, which need not be terminated.
bool ReplaceName(DeviceRecord& record, const char (&name)[kNameWidth]) {
    if (std::strncmp(record.m_CameraName1.data(), name, kNameWidth) == 0) {
        return false;
    }
    // The whole field is replaced, so a name of 18 bytes keeps no tail of the old one.
    record.m_CameraName1.fill('\0');
    std::memcpy(record.m_CameraName1.data(), name, kNameWidth);
    return true;
}

// The port in decimal digits, zero-padded to the five bytes of its field and never past them.
std::array<char, 5> PortDigits(std::int32_t port) {
    char text[12];
    const int length = std::snprintf(text, sizeof text, "%d", port);
    std::array<char, 5> digits{};
    std::memcpy(digits.data(), text, std::min<std::size_t>(length, digits.size()));
    return digits;
}

} // namespace

SetCommand BuildSetCommand(DeviceRecord& record, const NetSettings& sInfo) {
    SetCommand command{};
    if (Replace(record.m_IP, sInfo.IP)) {
        // "修改IP: %s\n"
        WriteLog(VANMOOR_MODIFY_BIG5 "IP: %s\n", DottedText(sInfo.IP).c_str());
        WriteByte<6>(command, 1);
    }
    if (Replace(record.m_NetMask, sInfo.netmask)) {
        // "修改Netmask: %s\n"
        WriteLog(VANMOOR_MODIFY_BIG5 "Netmask: %s\n", DottedText(sInfo.netmask).c_str());
        WriteByte<6>(command, 1);
    }
    if (Replace(record.m_GateWay, sInfo.gateway)) {
        // "修改Gateway: %s\n"
        WriteLog(VANMOOR_MODIFY_BIG5 "Gateway: %s\n", DottedText(sInfo.gateway).c_str());
        WriteByte<25>(command, 1);
        WriteText<26>(command, "gw");
        WriteField<28>(command, sInfo.gateway);
    }
    if (ReplaceName(record, sInfo.name)) {
        // "修改名稱\n"
        WriteLog(VANMOOR_MODIFY_BIG5 "\xa6\x57\xba\xd9\n");
        WriteByte<32>(command, 1);
        WriteField<33>(command, sInfo.name);
    }
    if (record.m_Port != sInfo.port) {
        // "修改port1: %d\n"
        WriteLog(VANMOOR_MODIFY_BIG5 "port1: %d\n", sInfo.port);
        record.m_Port = sInfo.port;
        WriteByte<51>(command, 1);
        WriteField<52>(command, PortDigits(sInfo.port));
    }
    // Both servers travel together, so either change sends both.
    const bool dns1Changed = Replace(record.m_DNS1, sInfo.DNS1);
    const bool dns2Changed = Replace(record.m_DNS2, sInfo.DNS2);
    if (dns1Changed || dns2Changed) {
        // "修改DNS1: %s\n"
        WriteLog(VANMOOR_MODIFY_BIG5 "DNS1: %s\n", DottedText(sInfo.DNS1).c_str());
        // "修改DNS2: %s\n"
        WriteLog(VANMOOR_MODIFY_BIG5 "DNS2: %s\n", DottedText(sInfo.DNS2).c_str());
        WriteByte<63>(command, 1);
        WriteField<64>(command, sInfo.DNS1);
        WriteField<68>(command, sInfo.DNS2);
    }
    WriteLog("iter->m_DHCP = %d, sInfo.bDHCP = %d\n", record.m_DHCP, sInfo.bDHCP);
    if (record.m_DHCP != sInfo.bDHCP) {
        // "修改DHCP: %d\n"
        WriteLog(VANMOOR_MODIFY_BIG5 "DHCP: %d\n", sInfo.bDHCP);
        record.m_DHCP = sInfo.bDHCP != 0;
        WriteByte<72>(command, 1);
        WriteByte<73>(command, sInfo.bDHCP);
    }

    WriteText<0>(command, kPcEditPrefix);
    WriteText<7>(command, "eth1");
    WriteField<11>(command, sInfo.IP);
    WriteField<15>(command, record.m_MAC);
    WriteField<21>(command, sInfo.netmask);
    return command;
}

} // namespace vanmoor
