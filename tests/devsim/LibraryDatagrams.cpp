#include "LibraryDatagrams.h"

#include "Md5Digest.h"

#include <algorithm>

namespace vanmoor::devsim::test {

namespace {

template <typename Range> void Put(Bytes& out, std::size_t offset, const Range& value) {
    std::copy(value.begin(), value.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
}

Bytes Header32970(std::uint8_t kind) {
    Bytes datagram(328, 0);
    Put(datagram, 0, std::string_view("3297V1.00"));
    datagram[12] = 0x48;
    datagram[13] = 0x01;
    datagram[14] = kind;
    return datagram;
}

} // namespace

Bytes SearchRequest4022() {
    Bytes request(72, 0);
    Put(request, 0, std::string_view("PCEdit"));
    for (std::size_t offset : {6, 25, 32, 60}) {
        request[offset] = 0x02;
    }
    return request;
}

Bytes SearchRequest32970() {
    return Header32970(0x01);
}

Bytes SettingsCommand4022(const Command4022& command) {
    Bytes datagram(74, 0);
    Put(datagram, 0, std::string_view("PCEdit"));
    datagram[6] = command.addressChanged ? 1 : 0;
    Put(datagram, 7, std::string_view("eth1"));
    Put(datagram, 11, command.ip);
    Put(datagram, 15, command.mac);
    Put(datagram, 21, command.netmask);
    if (command.gateway) {
        datagram[25] = 1;
        Put(datagram, 26, std::string_view("gw"));
        Put(datagram, 28, *command.gateway);
    }
    if (command.name) {
        datagram[32] = 1;
        Put(datagram, 33, Padded(*command.name, 18));
    }
    if (command.portDigits) {
        datagram[51] = 1;
        Put(datagram, 52, Padded(*command.portDigits, 5));
    }
    if (command.dns) {
        datagram[63] = 1;
        Put(datagram, 64, command.dns->first);
        Put(datagram, 68, command.dns->second);
    }
    if (command.dhcp) {
        datagram[72] = 1;
        datagram[73] = *command.dhcp ? 1 : 0;
    }
    return datagram;
}

Bytes SettingsCommand32970(const Command32970& command) {
    Bytes datagram = Header32970(0x00);
    Put(datagram, 15, command.mac);
    Put(datagram, 21, command.ip);
    Put(datagram, 25, command.netmask);
    Put(datagram, 29, command.gateway);
    Put(datagram, 33, command.dns1);
    Put(datagram, 37, command.dns2);
    datagram[41] = command.dhcp;
    const auto port = static_cast<std::uint32_t>(command.port);
    Put(datagram, 42,
        Bytes{static_cast<std::uint8_t>(port), static_cast<std::uint8_t>(port >> 8),
              static_cast<std::uint8_t>(port >> 16), static_cast<std::uint8_t>(port >> 24)});
    datagram[133] = command.random;
    Put(datagram, 134,
        devsim::Md5Hex(std::to_string(command.random) + command.user + ":" + command.password));
    Put(datagram, 261, Padded(command.name, 32));
    return datagram;
}

Bytes Field(const Bytes& datagram, std::size_t offset, std::size_t width) {
    return Bytes(datagram.begin() + static_cast<std::ptrdiff_t>(offset),
                 datagram.begin() + static_cast<std::ptrdiff_t>(offset + width));
}

Bytes Padded(std::string_view text, std::size_t width) {
    Bytes field(width, 0);
    std::copy_n(text.begin(), std::min(text.size(), width), field.begin());
    return field;
}

} // namespace vanmoor::devsim::test
