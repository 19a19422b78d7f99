#include "Protocol32970.h"

#include "DatagramFields.h"

namespace vanmoor {

Datagram32970 MakeDatagram32970(Kind32970 kind) {
    Datagram32970 datagram{};
    WriteText<0>(datagram, "3297");
    WriteText<4>(datagram, "V1.00"); // bytes 9 to 11 stay zero
    WriteLittleEndian<12, 2>(datagram, kDatagram32970Size);
    WriteByte<kKind32970Offset>(datagram, static_cast<std::uint8_t>(kind));
    return datagram;
}

} // namespace vanmoor
