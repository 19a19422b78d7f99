#include "ReplyRouting.h"

#include <cstring>

namespace vanmoor {

namespace {

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFF;

bool SameSubnet(std::uint32_t a, std::uint32_t b, std::uint32_t netmask) {
    return (a & netmask) == (b & netmask);
}

} // namespace

std::unique_ptr<ReplyRouting>
ReplyRouting::ForEndpoint(PackageSink& target, const std::vector<std::string>& listed,
                          const std::string& localIP,
                          const std::vector<platform::InterfaceAddress>& interfaces) {
    const auto carrier = [&](const std::string& text) -> const platform::InterfaceAddress* {
        for (const auto& candidate : interfaces) {
            if (candidate.address == text) {
                return &candidate;
            }
        }
        return nullptr;
    };
    const platform::InterfaceAddress* own = carrier(localIP);
    std::vector<LocalAddress> sharing;
    std::size_t ownPosition = listed.size();
    for (const std::string& text : listed) {
        const platform::InterfaceAddress* entry = carrier(text);
        if (own == nullptr || entry == nullptr || entry->interfaceIndex != own->interfaceIndex) {
            continue;
        }
        if (text == localIP) {
            ownPosition = sharing.size();
        }
        sharing.push_back({text, entry->addressValue, entry->netmask});
    }
    if (ownPosition >= sharing.size()) {
        // Unlisted, or carried by no interface (then its bind fails and nothing arrives).
        const LocalAddress alone{localIP, own != nullptr ? own->addressValue : 0,
                                 own != nullptr ? own->netmask : 0};
        return std::make_unique<ReplyRouting>(target, std::vector<LocalAddress>{alone}, 0);
    }
    return std::make_unique<ReplyRouting>(target, std::move(sharing), ownPosition);
}

ReplyRouting::ReplyRouting(PackageSink& target, std::vector<LocalAddress> interfaceAddresses,
                           std::size_t own)
    : m_Target(target), m_Addresses(std::move(interfaceAddresses)), m_Own(own) {}

const std::string* ReplyRouting::Admit(std::uint32_t destination) {
    m_LastWasBroadcast = false;
    if (destination == 0) {
        return &m_Addresses[m_Own].text;
    }
    for (const LocalAddress& local : m_Addresses) {
        if (local.address == destination) {
            return &local.text;
        }
    }
    if (!IsBroadcast(destination) || m_Own != 0) {
        return nullptr;
    }
    m_LastWasBroadcast = true;
    return &m_Addresses.front().text;
}

void ReplyRouting::PushPackage(std::unique_ptr<DeviceRecord> record) {
    if (m_LastWasBroadcast) {
        std::uint32_t device = 0;
        std::memcpy(&device, record->m_IP.data(), sizeof device);
        for (const LocalAddress& local : m_Addresses) {
            if (SameSubnet(device, local.address, local.netmask)) {
                record->m_LocalIP = local.text;
                break;
            }
        }
    }
    m_Target.PushPackage(std::move(record));
}

bool ReplyRouting::IsBroadcast(std::uint32_t destination) const {
    if (destination == kLimitedBroadcast) {
        return true;
    }
    // The directed broadcast of one of the interface's subnets: every host bit set.
    for (const LocalAddress& local : m_Addresses) {
        const std::uint32_t hostBits = ~local.netmask;
        if (hostBits != 0 && (destination & hostBits) == hostBits &&
            SameSubnet(destination, local.address, local.netmask)) {
            return true;
        }
    }
    return false;
}

} // namespace vanmoor
