/*
 * fused_harmonic_sums.cpp - the harmonic sums through the fastest routine
 * the processor runs: 256-bit with FMA division where the processor has
 * AVX2 and FMA, 256-bit with the divider where it has AVX2 alone, SSE2
 * pairs otherwise.  All give the same bits; the processor is asked on the
 * first call (processorSimdLevel, cpu_features.h).
 */
#include "point/fused_harmonic_sums.h"

#include "machine/cpu_features.h"
#include "point/fused_harmonic_sums_avx.h"
#include "point/fused_harmonic_sums_sse2.h"

namespace geoharm {

void fusedHarmonicSums(const FieldScalars& sc, int N, int M, double sum[3]) {
    /* No term at all: the sums stay +0.0 and no function is read. */
    if (N <= 0 || M < 0) {
        sum[0] = 0.0;
        sum[1] = 0.0;
        sum[2] = 0.0;
        return;
    }

    /* AVX-512 processors take the AVX2 routine: one point has too little
       work for 512-bit registers (the many-point routines use them). */
    switch (processorSimdLevel()) {
        case SimdLevel::AVX512F_FMA:
        case SimdLevel::AVX2_FMA: fusedHarmonicSumsAvxFma(sc, N, M, sum); break;
        case SimdLevel::AVX512F:
        case SimdLevel::AVX2: fusedHarmonicSumsAvx(sc, N, M, sum); break;
        default: fusedHarmonicSumsSse2(sc, N, M, sum); break;
    }
}

}  // namespace geoharm
