// The AVX-512 (zmm) instruction kernels of instruction_chains.h: vaddpd,
// vmulpd, vdivpd, vsqrtpd, vfmadd231pd on zmm registers; built with
// -mavx512f -mfma, run only where the processor has both.
#include <immintrin.h>

#include "instruction_chains.h"
#include "machine/cpu_features.h"

namespace {

struct Avx512 {
    using V = __m512d;
    static V set1(double v) { return _mm512_set1_pd(v); }
    static V sqrt(V v) { return _mm512_maskz_sqrt_pd(static_cast<__mmask8>(0xFF), v); }
    static V fma(V a, V b, V c) { return _mm512_fmadd_pd(a, b, c); }
};

const int registered =
    (geoharm_bench::registerWidth<Avx512>("avx512", geoharm::cpuHasAvx512f() && geoharm::cpuHasFma(), true), 0);

}  // namespace
