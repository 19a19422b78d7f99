#include "HeapCounter.h"

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::size_t g_liveBytes = 0;

} // namespace

std::size_t bench::LiveHeapBytes() {
    return g_liveBytes;
}

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    g_liveBytes += malloc_usable_size(block);
    return block;
}

void operator delete(void* block) noexcept {
    g_liveBytes -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
