#pragma once

#include "../core/DeviceRecord.h"
#include "../include/vanmoor.h"
#include "../transport/Protocol32970.h"

#include <array>
#include <string_view>

namespace vanmoor {

// The proof of the credentials carried by the port-32970 settings command: a random number R
// and the MD5 of "<R><user>:<password>".
struct AuthDigest {
    int random = 0; // R, 0 to 255
    std::array<char, 32> hex{};
};

// Draws R from the C library's generator, seeded from the calendar time in seconds at every call
// (two calls in the same second draw the same R); that generator is process-wide, so callers
// serialise. The texts are read up to their terminator or to the end of their 32-byte field,
// whichever comes first.
AuthDigest MakeAuthDigest(const char (&user)[32], const char (&password)[32]);

// The digest for a given R.
AuthDigest AuthDigestFor(int random, std::string_view user, std::string_view password);

// The 328-byte command that gives the device with `mac` the values of `sInfo`, every value
// whether or not it changed.
Datagram32970 BuildAuthSetCommand(const MacBytes& mac, const AuthNetSettings& sInfo,
                                  const AuthDigest& digest);

} // namespace vanmoor
