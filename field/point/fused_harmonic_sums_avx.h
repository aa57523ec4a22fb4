/*
 * fused_harmonic_sums_avx.h - the fused recursion and summation in 256-bit
 * registers, for processors with AVX2 (see cpu_features.h).
 */
#ifndef GEOHARM_FUSED_HARMONIC_SUMS_AVX_H
#define GEOHARM_FUSED_HARMONIC_SUMS_AVX_H

#include "point/field_types.h"

namespace geoharm {

/*
 * fusedHarmonicSumsAvx - as fusedHarmonicSums, for 1 <= N <= MAX_DEGREE
 * and 0 <= M <= MAX_DEGREE only, and only where cpuHasAvx2() is true (on
 * other processors it stops at the first AVX instruction).
 *
 * fusedHarmonicSumsAvxFma - the same, dividing by the recursion's
 * constants with fused multiply-add (the same bits), only where
 * cpuHasAvx2() and cpuHasFma() are true.
 */
void fusedHarmonicSumsAvx(const FieldScalars& sc, int N, int M, double sum[3]);
void fusedHarmonicSumsAvxFma(const FieldScalars& sc, int N, int M, double sum[3]);

}  // namespace geoharm

#endif
