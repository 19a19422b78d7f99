#pragma once

#include <cstddef>

namespace vanmoor::test {

// What the process holds at one moment, read from /proc/self.
struct ProcessFigures {
    std::size_t openDescriptors;
    std::size_t threads;
    std::size_t residentBytes;

    static ProcessFigures Now();
};

// Sanitizers keep freed memory in quarantine and map shadow memory as they go, so resident
// memory says nothing about leaks in their builds.
constexpr bool kResidentMemoryMeaningful =
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    false;
#else
    true;
#endif

} // namespace vanmoor::test
