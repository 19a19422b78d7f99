#include "Parser32970.h"

#include "../core/LibraryLog.h"
#include "DatagramFields.h"
#include "Protocol32970.h"

#include <span>

namespace vanmoor {

namespace {

using Reply = std::span<const char, CParserBase::kBufferSize>;

void FillRecord(DeviceRecord& record, Reply reply) {
    ReadField<261, 23>(reply, record.m_Name); // the first 23 of the 32 name bytes
    ReadField<21, 4>(reply, record.m_IP);
    ReadField<25, 4>(reply, record.m_NetMask);
    ReadField<29, 4>(reply, record.m_GateWay);
    ReadField<33, 4>(reply, record.m_DNS1);
    ReadField<37, 4>(reply, record.m_DNS2);
    ReadField<15, 6>(reply, record.m_MAC);
    record.m_Port = ReadLittleEndian32<42>(reply);
    record.m_Port2 = ReadLittleEndian32<46>(reply);
    record.m_DHCPAlt = ReadByte<41>(reply) == 1;
    ReadField<173, 16>(reply, record.m_Version);
    ReadField<197, 32>(reply, record.m_Brand);
    ReadField<229, 32>(reply, record.m_ModeName);
    record.m_Protocol = 1;
}

} // namespace

void CParserImp_32970port::ParserPackage(std::unique_ptr<char[]> buf, int len, std::string localIP,
                                         int port) {
    try {
        if (!buf) {
            WriteLog("CParserImp_32970port::ParserPackage(%d)::buf is NULL\n", port);
            return;
        }
        if (len != static_cast<int>(kDatagram32970Size)) {
            WriteLog("CParserImp_32970port::ParserPackage(%d)::Get Wrong packet\n", port);
            return;
        }
        const Reply reply(buf.get(), kBufferSize);
        auto record = std::make_unique<DeviceRecord>();
        FillRecord(*record, reply);
        if (ReadByte<kKind32970Offset>(reply) != static_cast<std::uint8_t>(Kind32970::Reply)) {
            return;
        }
        record->m_LocalIP = std::move(localIP);
        m_pManager->PushPackage(std::move(record));
    } catch (...) {
        WriteLog("CParserImp_32970port::ParserPackage(%d) catch failed\n", port);
    }
}

} // namespace vanmoor
