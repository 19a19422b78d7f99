#pragma once

#include "PackageSink.h"

#include <memory>
#include <string>

namespace vanmoor {

// A reply parser, owned by one endpoint and run only on that endpoint's receive thread.
class CParserBase {
public:
    explicit CParserBase(PackageSink* manager) : m_pManager(manager) {}
    virtual ~CParserBase() = default;
    CParserBase(const CParserBase&) = delete;
    CParserBase& operator=(const CParserBase&) = delete;

    // Size of every receive buffer: a datagram's bytes followed by zeros.
    static constexpr int kBufferSize = 500;

    // Parses one datagram. `buf` holds kBufferSize bytes (the `len` received ones, then zeros)
    // and is owned by the parser from here on; `localIP` and `port` are the endpoint's.
    virtual void ParserPackage(std::unique_ptr<char[]> buf, int len, std::string localIP,
                               int port) = 0;

protected:
    PackageSink* m_pManager; // not owned
};

} // namespace vanmoor
