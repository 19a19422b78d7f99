#include "AuthSetCommand.h"

#include "../transport/DatagramFields.h"
#include "Md5.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>

namespace vanmoor {

namespace {

template <std::size_t Width> std::string_view BoundedText(const char (&field)[Width]) {
    return {field, static_cast<std::size_t>(std::find(field, field + Width, '\0') - field)};
}

} // namespace

AuthDigest MakeAuthDigest(const char (&user)[32], const char (&password)[32]) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return AuthDigestFor(std::rand() % 256, BoundedText(user), BoundedText(password));
}

AuthDigest AuthDigestFor(int random, std::string_view user, std::string_view password) {
    std::string text = std::to_string(random);
    text.append(user).append(":").append(password);
    return {random, MD5HexString(text)};
}

Datagram32970 BuildAuthSetCommand(const MacBytes& mac, const AuthNetSettings& sInfo,
                                  const AuthDigest& digest) {
    Datagram32970 command = MakeDatagram32970(Kind32970::SettingsCommand);
    WriteField<15>(command, mac);
    WriteField<21>(command, sInfo.IP);
    WriteField<25>(command, sInfo.netmask);
    WriteField<29>(command, sInfo.gateway);
    WriteField<33>(command, sInfo.DNS1);
    WriteField<37>(command, sInfo.DNS2);
    WriteByte<41>(command, sInfo.DHCP);
    WriteLittleEndian<42, 4>(command, static_cast<std::uint32_t>(sInfo.port));
    WriteByte<133>(command, static_cast<std::uint8_t>(digest.random));
    WriteField<134>(command, digest.hex);
    WriteField<261>(command, sInfo.name);
    return command;
}

} // namespace vanmoor
