#pragma once

#include "ParserBase.h"

namespace vanmoor {

// Parses the replies that devices send on port 4022 ("IPCam" datagrams of 56 to 500 bytes;
// longer ones carry more blocks) and hands each device to the manager.
class CParserImp_4022port final : public CParserBase {
public:
    using CParserBase::CParserBase;

    // Every field lies at a fixed offset inside the buffer, so `len` only decides which blocks
    // are read: a negative one counts as too short, one above the buffer size like a full one.
    void ParserPackage(std::unique_ptr<char[]> buf, int len, std::string localIP,
                       int port) override;
};

} // namespace vanmoor
