#include "ReplyModel.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace vanmoor::fuzz {

namespace {

constexpr std::size_t kPadded = 500;

// The datagram followed by zeros, as the receive buffer holds it.
std::array<std::uint8_t, kPadded> Padded(std::span<const std::uint8_t> datagram) {
    std::array<std::uint8_t, kPadded> bytes{};
    std::copy_n(datagram.begin(), std::min(datagram.size(), kPadded), bytes.begin());
    return bytes;
}

template <std::size_t N>
void Take(const std::array<std::uint8_t, kPadded>& bytes, std::size_t offset,
          std::array<std::uint8_t, N>& field) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), N, field.begin());
}

void TakeName(const std::array<std::uint8_t, kPadded>& bytes, std::size_t offset, std::size_t width,
              std::array<char, 23>& name) {
    std::memcpy(name.data(), bytes.data() + offset, width);
}

template <std::size_t N> bool Terminated(const std::array<char, N>& text) {
    return text.back() == '\0';
}

bool IsDeviceCode(const std::array<char, 10>& device) {
    const std::size_t length = std::strlen(device.data());
    return (length == 0 || length == 8) &&
           std::all_of(device.begin(), device.begin() + static_cast<std::ptrdiff_t>(length),
                       [](char c) { return std::isdigit(c) || (c >= 'A' && c <= 'F'); });
}

} // namespace

std::optional<ExpectedReply> ExpectReply4022(std::span<const std::uint8_t> datagram) {
    const auto bytes = Padded(datagram);
    if (datagram.size() < 56 || std::memcmp(bytes.data(), "IPCam", 6) != 0) {
        return std::nullopt;
    }
    ExpectedReply reply;
    reply.protocol = 0;
    reply.length = static_cast<int>(datagram.size());
    Take(bytes, 10, reply.ip);
    Take(bytes, 14, reply.mac);
    Take(bytes, 20, reply.netmask);
    Take(bytes, 27, reply.gateway);
    TakeName(bytes, 32, 18, reply.name);
    return reply;
}

std::optional<ExpectedReply> ExpectReply32970(std::span<const std::uint8_t> datagram) {
    const auto bytes = Padded(datagram);
    if (datagram.size() != 328 || bytes[14] != 0x02) {
        return std::nullopt;
    }
    ExpectedReply reply;
    reply.protocol = 1;
    reply.length = 328;
    Take(bytes, 15, reply.mac);
    Take(bytes, 21, reply.ip);
    Take(bytes, 25, reply.netmask);
    Take(bytes, 29, reply.gateway);
    TakeName(bytes, 261, 23, reply.name);
    return reply;
}

void CheckRecord(const DeviceRecord& record, const ExpectedReply& expected,
                 const std::string& localIP) {
    Require(record.m_LocalIP == localIP, "record credited to its endpoint's address");
    Require(record.m_Protocol == expected.protocol, "protocol of the record");
    Require(record.m_MAC == expected.mac, "MAC address from its offset");
    Require(record.m_IP == expected.ip, "address from its offset");
    Require(record.m_NetMask == expected.netmask, "netmask from its offset");
    Require(record.m_GateWay == expected.gateway, "gateway from its offset");
    Require(record.m_Name == expected.name, "name bytes from their offset");
    Require(Terminated(record.m_Device) && Terminated(record.m_Version) &&
                Terminated(record.m_Brand) && Terminated(record.m_ModeName) &&
                Terminated(record.m_CameraName1),
            "text fields terminated");
    Require(IsDeviceCode(record.m_Device), "device code empty or eight uppercase hex digits");
    if (expected.protocol == 0) {
        Require(record.m_HasDNS == (expected.length >= 69 ? 1 : 0), "DNS block by length");
        Require(record.m_DHCPAlt == (expected.length >= 70), "DHCP block by length");
        Require((std::strlen(record.m_Device.data()) == 8) == (expected.length >= 70),
                "device code exactly when the DHCP block is there");
        Require(record.m_Port >= -9999 && record.m_Port <= 99999, "web port of five characters");
        Require(record.m_Port2 >= -9999 && record.m_Port2 <= 99999,
                "second port of five characters");
    } else {
        Require(record.m_CameraName1 == std::array<char, 65>{}, "no camera name on port 32970");
    }
}

} // namespace vanmoor::fuzz
