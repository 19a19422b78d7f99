#include "SettingsCommand.h"

#include "Md5Digest.h"
#include "WireBytes.h"

#include <algorithm>

namespace vanmoor::devsim {

namespace {

constexpr std::uint8_t kChanged = 1;

// The port field of the port-4022 command: one to five decimal digits, zero-padded. A field
// without digits leaves the port as it is.
void TakePortDigits(SimDevice& device, std::span<const std::uint8_t> command) {
    std::int32_t port = 0;
    std::size_t digits = 0;
    for (; digits < 5 && command[52 + digits] >= '0' && command[52 + digits] <= '9'; ++digits) {
        port = port * 10 + (command[52 + digits] - '0');
    }
    if (digits > 0) {
        device.webPort = port;
    }
}

CommandOutcome Apply4022(SimDevice& device, std::span<const std::uint8_t> command) {
    bool anyFlag = false;
    auto flag = [&](std::size_t offset) {
        const bool set = command[offset] == kChanged;
        anyFlag = anyFlag || set;
        return set;
    };
    if (flag(6)) {
        device.ip = GetArray<4>(command, 11);
        device.netmask = GetArray<4>(command, 21);
    }
    if (flag(25)) {
        device.gateway = GetArray<4>(command, 28);
    }
    if (flag(32)) {
        device.name = GetText(command, 33, kNameWidth4022);
    }
    if (flag(51)) {
        TakePortDigits(device, command);
    }
    if (flag(63)) {
        device.dns1 = GetArray<4>(command, 64);
        device.dns2 = GetArray<4>(command, 68);
    }
    if (flag(72)) {
        device.dhcp = command[73] != 0;
    }
    return anyFlag ? CommandOutcome::Applied : CommandOutcome::NothingToChange;
}

bool DigestMatches(const SimDevice& device, std::span<const std::uint8_t> command) {
    const std::string text = std::to_string(command[133]) + device.user + ":" + device.password;
    const std::array<char, 32> expected = Md5Hex(text);
    return std::equal(expected.begin(), expected.end(), command.begin() + 134);
}

CommandOutcome Apply32970(SimDevice& device, std::span<const std::uint8_t> command) {
    if (!DigestMatches(device, command)) {
        return CommandOutcome::WrongDigest;
    }
    device.ip = GetArray<4>(command, 21);
    device.netmask = GetArray<4>(command, 25);
    device.gateway = GetArray<4>(command, 29);
    device.dns1 = GetArray<4>(command, 33);
    device.dns2 = GetArray<4>(command, 37);
    device.dhcp = command[41] == 1;
    device.webPort = static_cast<std::int32_t>(GetLittleEndian32(command, 42));
    device.name = GetText(command, 261, kNameWidth32970);
    return CommandOutcome::Applied;
}

} // namespace

const char* CommandOutcomeName(CommandOutcome outcome) {
    switch (outcome) {
    case CommandOutcome::Applied:
        return "applied";
    case CommandOutcome::NothingToChange:
        return "nothing to change";
    case CommandOutcome::WrongDigest:
        return "wrong digest";
    case CommandOutcome::Dropped:
        return "dropped";
    case CommandOutcome::NoSuchDevice:
        break;
    }
    return "no such device";
}

Mac CommandTarget(std::span<const std::uint8_t> command) {
    return GetArray<6>(command, 15);
}

CommandOutcome ApplySettingsCommand(SimDevice& device, std::span<const std::uint8_t> command) {
    if (device.commandsToDrop > 0) {
        --device.commandsToDrop;
        return CommandOutcome::Dropped;
    }
    return device.protocol == Protocol::Port4022 ? Apply4022(device, command)
                                                 : Apply32970(device, command);
}

} // namespace vanmoor::devsim
