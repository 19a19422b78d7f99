#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vanmoor {

using Ipv4Bytes = std::array<std::uint8_t, 4>; // first dotted number first
using MacBytes = std::array<std::uint8_t, 6>;  // display order

// One discovered device, as the latest reply described it. A new record is all zero; a parser
// fills what its protocol carries. Text fields are raw bytes from the reply; all but m_Name are
// one byte wider than what the reply carries, so they stay terminated.
struct DeviceRecord {
    std::string m_LocalIP;     // local address of the endpoint the reply arrived on
    std::int32_t m_Index = 0;  // query key: position in the pending list at first reply
    std::int32_t m_HasDNS = 0; // port 4022: the reply carried the DNS block
    bool m_DHCP = false;       // port 4022: DHCP state
    bool m_DHCPAlt = false;    // port 32970: DHCP state; port 4022: the DHCP block was there
    std::array<std::uint8_t, 4> m_Reserved1{}; // kept from a port-4022 reply, unused
    Ipv4Bytes m_IP{};
    Ipv4Bytes m_NetMask{};
    MacBytes m_MAC{}; // identity: merge key and target of the settings commands
    Ipv4Bytes m_GateWay{};
    std::array<char, 23> m_Name{};
    std::int32_t m_Port = 0;  // web port
    std::int32_t m_Port2 = 0; // second port of the reply, unused
    Ipv4Bytes m_DNS1{};
    Ipv4Bytes m_DNS2{};
    std::int32_t m_Type = 0;         // port 4022: type code
    std::array<char, 10> m_Device{}; // port 4022: eight hexadecimal digits
    std::array<char, 17> m_Version{};
    std::array<char, 33> m_Brand{};
    std::array<char, 33> m_ModeName{};
    bool m_Reserved2 = false;             // kept from a port-4022 reply, unused
    std::array<char, 65> m_CameraName1{}; // the name that set() changes
    std::uint8_t m_Protocol = 0;          // 0: port-4022 reply; 1: port-32970 reply
    std::int64_t m_LastSeen = 0;          // seconds since 1970 when stored
};

} // namespace vanmoor
