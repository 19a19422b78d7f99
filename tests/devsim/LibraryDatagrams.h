#pragma once

#include "SimDevice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::devsim::test {

using Bytes = std::vector<std::uint8_t>;

// The datagrams the library sends to devices, laid out here on their own so that the tests do
// not check the simulator against itself.
Bytes SearchRequest4022();
Bytes SearchRequest32970();

// The port-4022 settings command. IP and netmask are always carried; every other value only
// with its change flag, which is set when the value is given.
struct Command4022 {
    Mac mac{};
    Ipv4 ip{};
    Ipv4 netmask{};
    bool addressChanged = false;
    std::optional<Ipv4> gateway;
    std::optional<std::string> name; // 18 bytes at most
    std::optional<std::string> portDigits;
    std::optional<std::pair<Ipv4, Ipv4>> dns;
    std::optional<bool> dhcp;
};
Bytes SettingsCommand4022(const Command4022& command);

// The port-32970 settings command with the digest of R, user, ":" and password.
struct Command32970 {
    std::string user;
    std::string password;
    std::uint8_t random = 0;
    Mac mac{};
    Ipv4 ip{}, netmask{}, gateway{}, dns1{}, dns2{};
    std::uint8_t dhcp = 0;
    std::int32_t port = 0;
    std::string name; // 32 bytes at most
};
Bytes SettingsCommand32970(const Command32970& command);

// `width` bytes of a datagram from `offset`.
Bytes Field(const Bytes& datagram, std::size_t offset, std::size_t width);
// A text as a zero-padded field of `width` bytes.
Bytes Padded(std::string_view text, std::size_t width);

} // namespace vanmoor::devsim::test
