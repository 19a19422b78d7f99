#include "Parser4022.h"

#include "../core/LibraryLog.h"
#include "DatagramFields.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <span>

namespace vanmoor {

namespace {

using Reply = std::span<const char, CParserBase::kBufferSize>;

// Shortest reply of each block: base block, DNS block, DHCP and type block, text block.
constexpr int kBaseLength = 56;
constexpr int kDnsLength = 69;
constexpr int kDhcpLength = 70;
constexpr int kTextLength = 220;

constexpr std::size_t kPortFieldWidth = 5;
constexpr std::size_t kWebPortOffset = 50;
constexpr std::size_t kSecondPortOffset = 55;
constexpr std::size_t kTypeOffset = 70;
constexpr std::size_t kCodeOffset = 71;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Decimal text as atoi reads it (blanks, a sign, digits), but never past the field's 5 bytes.
template <std::size_t Offset> std::int32_t PortField(Reply reply) {
    const auto field = reply.subspan<Offset, kPortFieldWidth>();
    std::size_t i = 0;
    while (i < field.size() && IsBlank(field[i])) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    std::int32_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
    }
    return negative ? -value : value;
}

// The four code characters chosen by the type byte T (bytes 70 to 74 of the reply).
std::array<std::uint8_t, 4> CodeCharacters(Reply reply) {
    const std::uint8_t type = ReadByte<kTypeOffset>(reply);
    const auto fixedCode = [](const char(&text)[5]) {
        return std::array<std::uint8_t, 4>{
            static_cast<std::uint8_t>(text[0]), static_cast<std::uint8_t>(text[1]),
            static_cast<std::uint8_t>(text[2]), static_cast<std::uint8_t>(text[3])};
    };
    switch (type) {
    case 91:
        return fixedCode("09EE");
    case 113:
        return fixedCode("16EE");
    case 118:
        return fixedCode("04EC");
    case 57:
        return fixedCode("04AD");
    case 186:
        return fixedCode("01AD");
    default:
        break;
    }
    std::array<std::uint8_t, 4> code{};
    if (type >= 90 && type <= 120) {
        ReadField<kCodeOffset, 4>(reply, code);
    } else {
        // Bytes 71 (low) and 72 (high) as a 16-bit number in four hexadecimal digits.
        char digits[5];
        std::snprintf(digits, sizeof digits, "%.2X%.2X", ReadByte<kCodeOffset + 1>(reply),
                      ReadByte<kCodeOffset>(reply));
        std::memcpy(code.data(), digits, code.size());
    }
    return code;
}

// The device code: each code character as two uppercase hexadecimal digits.
std::array<char, 10> DeviceCode(Reply reply) {
    const std::array<std::uint8_t, 4> code = CodeCharacters(reply);
    std::array<char, 10> device{};
    std::snprintf(device.data(), device.size(), "%.2X%.2X%.2X%.2X", code[0], code[1], code[2],
                  code[3]);
    return device;
}

void FillRecord(DeviceRecord& record, Reply reply, int len) {
    ReadField<6, 4>(reply, record.m_Reserved1);
    ReadField<10, 4>(reply, record.m_IP);
    ReadField<14, 6>(reply, record.m_MAC);
    ReadField<20, 4>(reply, record.m_NetMask);
    ReadField<27, 4>(reply, record.m_GateWay);
    ReadField<32, 18>(reply, record.m_Name);
    record.m_Port = PortField<kWebPortOffset>(reply);
    record.m_Port2 = PortField<kSecondPortOffset>(reply);

    record.m_HasDNS = len >= kDnsLength ? 1 : 0;
    if (len >= kDnsLength) {
        ReadField<61, 4>(reply, record.m_DNS1);
        ReadField<65, 4>(reply, record.m_DNS2);
    }
    record.m_DHCPAlt = len >= kDhcpLength;
    if (len >= kDhcpLength) {
        record.m_DHCP = ReadByte<69>(reply) != 0;
        record.m_Type = static_cast<std::int8_t>(ReadByte<kTypeOffset>(reply));
        record.m_Device = DeviceCode(reply);
    }
    if (len >= kTextLength) {
        ReadField<75, 16>(reply, record.m_Version);
        ReadField<91, 32>(reply, record.m_Brand);
        ReadField<123, 32>(reply, record.m_ModeName);
        record.m_Reserved2 = ReadByte<155>(reply) != 0;
        ReadField<156, 64>(reply, record.m_CameraName1);
    }
}

} // namespace

void CParserImp_4022port::ParserPackage(std::unique_ptr<char[]> buf, int len, std::string localIP,
                                        int port) {
    try {
        if (!buf) {
            WriteLog("CParserImp_4022port(%d)::ParserPackage buf is NULL\n", port);
            return;
        }
        const Reply reply(buf.get(), kBufferSize);
        if (std::memcmp(reply.data(), "IPCam", 5) != 0) {
            WriteLog("CParserImp_4022port(%d)::ParserPackage::Get wrong packet\n", port);
            return;
        }
        if (ReadByte<5>(reply) != 0) {
            WriteLog("CParserImp_4022port(%d)::ParserPackage::IPFLAG not zero\n", port);
            return;
        }
        if (len < kBaseLength) {
            WriteLog("CParserImp_4022port(%d)::ParserPackage::Packet size less than 55\n", port);
            return;
        }
        auto record = std::make_unique<DeviceRecord>();
        FillRecord(*record, reply, len);
        record->m_Protocol = 0;
        record->m_LastSeen = static_cast<std::int64_t>(std::time(nullptr));
        record->m_LocalIP = std::move(localIP);
        m_pManager->PushPackage(std::move(record));
    } catch (...) {
        WriteLog("CParserImp_4022port::ParserPackage(%d) catch failed\n", port);
    }
}

} // namespace vanmoor
