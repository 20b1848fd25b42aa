#include "core/bigalloc.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
constexpr size_t kLarge = size_t{4} << 20;
constexpr size_t kHugePage = size_t{2} << 20;
}  // namespace

void* AllocateBlock(size_t bytes) {
    if (bytes < kLarge) return std::malloc(bytes);
    if (bytes > SIZE_MAX - kHugePage) return nullptr;
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (p != nullptr) madvise(p, rounded, MADV_HUGEPAGE);  // a hint: failure changes nothing
#endif
    return p;
}
