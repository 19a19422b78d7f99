#pragma once

#include <cstddef>

namespace bench {

// Heap bytes in use, as the allocator hands them out, counted by the global allocation
// functions that HeapCounter.cpp replaces in a program it is built into.
std::size_t LiveHeapBytes();

} // namespace bench
