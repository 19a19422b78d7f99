#pragma once

#include <cstdio>
#include <cstdlib>

namespace vanmoor::fuzz {

// Stops the run when an invariant does not hold: libFuzzer keeps the input as a crash, and the
// replay program fails with the message.
inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace vanmoor::fuzz
