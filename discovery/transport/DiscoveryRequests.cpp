#include "DiscoveryRequests.h"

#include "DatagramFields.h"
#include "Protocol4022.h"

namespace vanmoor {

SearchRequest4022 MakeSearchRequest4022() {
    // The settings command uses offsets 6, 25 and 32 as change flags; 0x02 there marks a search.
    constexpr std::uint8_t kSearchMark = 0x02;
    SearchRequest4022 request{};
    WriteText<0>(request, kPcEditPrefix);
    WriteByte<6>(request, kSearchMark);
    WriteByte<25>(request, kSearchMark);
    WriteByte<32>(request, kSearchMark);
    WriteByte<60>(request, kSearchMark);
    return request;
}

Datagram32970 MakeSearchRequest32970() {
    return MakeDatagram32970(Kind32970::SearchRequest);
}

} // namespace vanmoor
