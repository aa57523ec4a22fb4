/*
 * wide_canary.cpp - wide instructions in functions that are not a level's,
 * which the checker of the evaluation code's instructions must reject
 * (check_fp_instructions.sh --avx-only, --avx512-only): baseline functions
 * whose names mention AVX, and a namespace that only looks like a level's.
 * Compiled (never run) with AVX-512F.
 */
#include <immintrin.h>

namespace geoharm {

/* Named as the processor's feature tests are: baseline code. */
void cpuHasAvx2Canary(const double* a, double* c) { _mm256_storeu_pd(c, _mm256_sqrt_pd(_mm256_loadu_pd(a))); }

void cpuHasAvx512fCanary(const double* a, double* c) {
    _mm512_storeu_pd(c, _mm512_maskz_sqrt_pd(static_cast<__mmask8>(0xFF), _mm512_loadu_pd(a)));
}

/* A namespace that begins like a level's name. */
namespace avx2_extra {

void levelLookalikeCanary(const double* a, double* c) { _mm256_storeu_pd(c, _mm256_sqrt_pd(_mm256_loadu_pd(a))); }

}  // namespace avx2_extra

}  // namespace geoharm
