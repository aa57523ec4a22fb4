// The SSE2 (xmm) instruction kernels of instruction_chains.h: addpd,
// mulpd, divpd, sqrtpd.
#include <emmintrin.h>

#include "instruction_chains.h"

namespace {

struct Sse2 {
    using V = __m128d;
    static V set1(double v) { return _mm_set1_pd(v); }
    static V sqrt(V v) { return _mm_sqrt_pd(v); }
    static V fma(V a, V, V) { return a; } /* none in SSE2 (not registered) */
};

const int registered = (geoharm_bench::registerWidth<Sse2>("sse2", true, false), 0);

}  // namespace
