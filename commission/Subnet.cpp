#include "Subnet.h"

#include <bit>

namespace vanmoor::commission {

std::uint32_t AddressNumber(const Ipv4Octets& octets) {
    return (std::uint32_t{octets[0]} << 24) | (std::uint32_t{octets[1]} << 16) |
           (std::uint32_t{octets[2]} << 8) | std::uint32_t{octets[3]};
}

Ipv4Octets AddressOctets(std::uint32_t number) {
    return {static_cast<std::uint8_t>(number >> 24), static_cast<std::uint8_t>(number >> 16),
            static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
}

bool IsContiguousMask(const Ipv4Octets& netmask) {
    const std::uint32_t mask = AddressNumber(netmask);
    // The inverted mask of a contiguous one is a run of low one bits: adding one clears it.
    const std::uint32_t hostBits = ~mask;
    return (hostBits & (hostBits + 1)) == 0;
}

int PrefixLength(const Ipv4Octets& netmask) {
    return std::countl_one(AddressNumber(netmask));
}

Ipv4Octets MaskOfPrefix(int prefixLength) {
    if (prefixLength <= 0) {
        return {0, 0, 0, 0};
    }
    if (prefixLength >= 32) {
        return {255, 255, 255, 255};
    }
    return AddressOctets(~std::uint32_t{0} << (32 - prefixLength));
}

std::optional<MessageText> WhyUnusable(const Ipv4Octets& address) {
    if (address[0] == 0) {
        return Message(MessagePattern::PhraseThisNetwork);
    }
    if (address[0] == 127) {
        return Message(MessagePattern::PhraseLoopback);
    }
    if (address[0] >= 224 && address[0] <= 239) {
        return Message(MessagePattern::PhraseMulticast);
    }
    if (address[0] >= 240) {
        return Message(MessagePattern::PhraseReserved);
    }
    return std::nullopt;
}

Subnet Subnet::Of(const Ipv4Octets& address, const Ipv4Octets& netmask) {
    const std::uint32_t mask = AddressNumber(netmask);
    return {AddressNumber(address) & mask, mask};
}

bool Subnet::Holds(const Ipv4Octets& address) const {
    return (AddressNumber(address) & mask) == network;
}

bool Subnet::IsNetworkOrBroadcast(const Ipv4Octets& address) const {
    if (std::countl_one(mask) > 30) {
        return false;
    }
    const std::uint32_t number = AddressNumber(address);
    return Holds(address) && (number == network || number == Broadcast());
}

std::string Subnet::Text() const {
    return settings::DottedText(AddressOctets(network)) + "/" +
           std::to_string(std::countl_one(mask));
}

} // namespace vanmoor::commission
