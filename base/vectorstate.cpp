#include "base/vectorstate.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {
__attribute__((target("avx"))) void zeroUpper() {
    _mm256_zeroupper();
}

bool hasAvx() {
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return avx;
}
} // namespace

void clearUpperVectorState() {
    if (hasAvx())
        zeroUpper();
}
#else
void clearUpperVectorState() {}
#endif
