/*
 * fused_harmonic_sums_sse2.h - the fused recursion and summation with V and
 * W as SSE2 pairs: the routine for every processor.
 */
#ifndef GEOHARM_FUSED_HARMONIC_SUMS_SSE2_H
#define GEOHARM_FUSED_HARMONIC_SUMS_SSE2_H

#include "point/field_types.h"

namespace geoharm {

/*
 * fusedHarmonicSumsSse2 - as fusedHarmonicSums, for 1 <= N <= MAX_DEGREE
 * and 0 <= M <= MAX_DEGREE only (fusedHarmonicSums handles the rest).
 */
void fusedHarmonicSumsSse2(const FieldScalars& sc, int N, int M, double sum[3]);

}  // namespace geoharm

#endif
