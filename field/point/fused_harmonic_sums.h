/*
 * fused_harmonic_sums.h - the harmonic sums of one position through the
 * level's one-point routine (machine/routine_table.h: SSE2 pairs at sse2,
 * fused_harmonic_sums_sse2.cpp; 256-bit registers at avx2, avx2_fma,
 * avx512f and avx512f_fma, fused_harmonic_sums_avx.cpp), the recursion and
 * the summation fused degree by degree: the fast path of
 * evaluateAcceleration.
 */
#ifndef GEOHARM_FUSED_HARMONIC_SUMS_H
#define GEOHARM_FUSED_HARMONIC_SUMS_H

#include "kernels/field_types.h"

namespace geoharm {

/*
 * fusedHarmonicSums - gradient of the harmonic terms of degree 1..N and
 * order 0..min(n, M), without the central term.
 *
 * Given:
 *   sc    per-call scalars of the position (r, rho, x0, y0, z0 are read)
 *   N, M  largest degree and order, at most MAX_DEGREE each (the caller
 *         clamps); N <= 0 or M < 0 gives no term.
 * Returned:
 *   sum   (ax, ay, az) in m/s^2: bit for bit what sumHarmonicTerms returns
 *         on the arrays fillHarmonicArrays fills for sc, N and M, for every
 *         input (non-finite ones included; a NaN may differ in its sign
 *         and payload only).
 */
void fusedHarmonicSums(const FieldScalars& sc, int N, int M, double sum[3]);

}  // namespace geoharm

#endif
