// Fuzz target: one datagram received on port 4022.
#include "ParseOneReply.h"

#include "transport/Parser4022.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vanmoor::fuzz::ParseOneReply<vanmoor::CParserImp_4022port>({data, size}, 4022,
                                                               vanmoor::fuzz::ExpectReply4022);
    return 0;
}
