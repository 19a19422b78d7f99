#include "SettingsRule.h"

namespace vanmoor::commission {

namespace {

constexpr Ipv4Octets kNone{0, 0, 0, 0};

MessageText AddressValue(const Ipv4Octets& address) {
    return Value(settings::DottedText(address));
}

} // namespace

std::optional<MessageText> WhyAddressUnusable(const Ipv4Octets& ip) {
    if (auto why = WhyUnusable(ip)) {
        return Message(MessagePattern::PlanUnusableAddress, {AddressValue(ip), std::move(*why)});
    }
    return std::nullopt;
}

std::optional<MessageText> WhyNetmaskRefused(const Ipv4Octets& netmask) {
    if (netmask == kNone) {
        return Message(MessagePattern::NetmaskZero);
    }
    if (!IsContiguousMask(netmask)) {
        return Message(MessagePattern::NetmaskNotContiguous, {AddressValue(netmask)});
    }
    return std::nullopt;
}

std::optional<MessageText> WhyGatewayRefused(const Ipv4Octets& gateway, const Subnet& subnet) {
    if (gateway == kNone) {
        return std::nullopt;
    }
    if (auto why = WhyUnusable(gateway)) {
        return Message(MessagePattern::PlanUnusableGateway,
                       {AddressValue(gateway), std::move(*why)});
    }
    if (!subnet.Holds(gateway)) {
        return Message(MessagePattern::GatewayOutside,
                       {AddressValue(gateway), Value(subnet.Text())});
    }
    if (subnet.IsNetworkOrBroadcast(gateway)) {
        return Message(MessagePattern::GatewayNetworkOrBroadcast,
                       {AddressValue(gateway), Value(subnet.Text())});
    }
    return std::nullopt;
}

std::optional<MessageText> WhySettingsRefused(const Ipv4Octets& ip, const Ipv4Octets& netmask,
                                              const Ipv4Octets& gateway) {
    if (auto why = WhyAddressUnusable(ip)) {
        return why;
    }
    if (auto why = WhyNetmaskRefused(netmask)) {
        return why;
    }
    const Subnet subnet = Subnet::Of(ip, netmask);
    if (subnet.IsNetworkOrBroadcast(ip)) {
        return Message(MessagePattern::NetworkOrBroadcast,
                       {AddressValue(ip), Value(subnet.Text())});
    }
    if (ip[3] == 0 || ip[3] == 255) {
        return Message(MessagePattern::AddressLastNumber, {AddressValue(ip)});
    }
    return WhyGatewayRefused(gateway, subnet);
}

} // namespace vanmoor::commission
