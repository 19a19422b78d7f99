#pragma once

#include "ParserBase.h"

namespace vanmoor {

// Parses the 328-byte replies that devices send on port 32970 and hands each device to the
// manager. Requests and commands of the same size (this host's own, echoed back) are dropped
// without a log line.
class CParserImp_32970port final : public CParserBase {
public:
    using CParserBase::CParserBase;

    void ParserPackage(std::unique_ptr<char[]> buf, int len, std::string localIP,
                       int port) override;
};

} // namespace vanmoor
