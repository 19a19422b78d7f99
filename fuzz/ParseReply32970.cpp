// Fuzz target: one datagram received on port 32970.
#include "ParseOneReply.h"

#include "transport/Parser32970.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vanmoor::fuzz::ParseOneReply<vanmoor::CParserImp_32970port>({data, size}, 32970,
                                                                vanmoor::fuzz::ExpectReply32970);
    return 0;
}
