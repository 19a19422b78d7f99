#pragma once

#include <string>

namespace vanmoor::cli {

// The protocols a search uses, as --protocol chose them: the library's device protocols on
// ports 4022 and 32970, WS-Discovery on port 3702.
struct ProtocolChoice {
    bool port4022 = true;
    bool port32970 = true;
    bool wsd = true;

    // Every protocol this build speaks.
    static ProtocolChoice All();
    bool DeviceProtocols() const { return port4022 || port32970; }
    // Whether a device that answered the library on `protocol` is wanted.
    bool Admits(int protocol) const;
};

// "4022", "32970", "3702" or several, comma-separated. Throws a usage error for anything else,
// and for 3702 in a build without WS-Discovery.
ProtocolChoice ParseProtocols(const std::string& text);

} // namespace vanmoor::cli
