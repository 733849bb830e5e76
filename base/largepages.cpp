#include "base/largepages.h"

#include <cstdint>
#include <sys/mman.h>

void adviseLargePages(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t to = (begin + bytes) & ~(kLargePage - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}
