// The AVX (ymm) instruction kernels of instruction_chains.h: vaddpd,
// vmulpd, vdivpd, vsqrtpd, vfmadd231pd; built with -mavx2 -mfma, run only
// where the processor has both.
#include <immintrin.h>

#include "instruction_chains.h"
#include "machine/cpu_features.h"

namespace {

struct Avx2 {
    using V = __m256d;
    static V set1(double v) { return _mm256_set1_pd(v); }
    static V sqrt(V v) { return _mm256_sqrt_pd(v); }
    static V fma(V a, V b, V c) { return _mm256_fmadd_pd(a, b, c); }
};

const int registered =
    (geoharm_bench::registerWidth<Avx2>("avx2", geoharm::cpuHasAvx2() && geoharm::cpuHasFma(), true), 0);

}  // namespace
