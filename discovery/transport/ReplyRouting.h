#pragma once

#include "../platform/InterfaceAddresses.h"
#include "PackageSink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vanmoor {

// To which listed local address a received datagram belongs, for an interface that carries
// several of them. The endpoints of one port on such an interface bind the same port and device:
// each of them receives every broadcast, while a unicast reaches just one of them, whichever
// address it was sent to. So a unicast is credited to the address it was sent to, or dropped when
// that is no listed address of the interface; a broadcast is taken by the interface's first
// endpoint alone and credited to the first address whose subnet holds the address the device
// reports, else to the interface's first address.
//
// One instance per endpoint, used only on its receive thread: Admit() before a datagram goes to
// the parser, PushPackage() when the parser hands over the record.
class ReplyRouting final : public PackageSink {
public:
    struct LocalAddress {
        std::string text;      // as listed
        std::uint32_t address; // network byte order
        std::uint32_t netmask; // network byte order
    };

    // The routing of the endpoint on `localIP` (one of `listed`): the listed addresses that sit on
    // the same device in `interfaces`, in list order. An address no interface carries stands
    // alone.
    static std::unique_ptr<ReplyRouting>
    ForEndpoint(PackageSink& target, const std::vector<std::string>& listed,
                const std::string& localIP,
                const std::vector<platform::InterfaceAddress>& interfaces);

    // `interfaceAddresses[own]` is the endpoint's own address.
    ReplyRouting(PackageSink& target, std::vector<LocalAddress> interfaceAddresses,
                 std::size_t own);

    // The address to credit a datagram sent to `destination` to, or null when this endpoint
    // leaves it. A destination of 0 (not known) counts as the endpoint's own address.
    const std::string* Admit(std::uint32_t destination);

    // Forwards a record parsed from the datagram last admitted.
    void PushPackage(std::unique_ptr<DeviceRecord> record) override;

private:
    bool IsBroadcast(std::uint32_t destination) const;

    PackageSink& m_Target;
    const std::vector<LocalAddress> m_Addresses;
    const std::size_t m_Own;
    bool m_LastWasBroadcast = false;
};

} // namespace vanmoor
