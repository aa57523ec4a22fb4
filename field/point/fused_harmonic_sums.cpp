/*
 * fused_harmonic_sums.cpp - the harmonic sums through the fastest routine
 * the processor runs: with AVX-512, the 256-bit routine with 32 registers
 * (dividing with FMA where the processor has it); with AVX2, the 256-bit
 * routine with 16 (dividing with FMA where the processor has it and that
 * division pays); SSE2 pairs otherwise.  All give the same bits; the
 * processor is asked on the first call (pointSimdLevel, cpu_features.h).
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

    /* AVX-512 processors take the 256-bit routine built with AVX-512's 32
       registers: one point has too little work for 512-bit registers (the
       many-point routines use them), but the rows and coefficients of a
       degree fill more than 16. */
    switch (pointSimdLevel()) {
        case SimdLevel::AVX512F_FMA: fusedHarmonicSumsAvx512Fma(sc, N, M, sum); break;
        case SimdLevel::AVX512F: fusedHarmonicSumsAvx512(sc, N, M, sum); break;
        case SimdLevel::AVX2_FMA: fusedHarmonicSumsAvxFma(sc, N, M, sum); break;
        case SimdLevel::AVX2: fusedHarmonicSumsAvx(sc, N, M, sum); break;
        default: fusedHarmonicSumsSse2(sc, N, M, sum); break;
    }
}

}  // namespace geoharm
