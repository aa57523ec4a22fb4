/*
 * fused_harmonic_sums.cpp - the harmonic sums through the one-point routine
 * of the routine table (machine/routine_table.h): the 256-bit routine at
 * the levels avx2 to avx512f_fma, SSE2 pairs at sse2.  All give the same
 * bits.
 */
#include "point/fused_harmonic_sums.h"

#include "machine/routine_table.h"

namespace geoharm {

void fusedHarmonicSums(const FieldScalars& sc, int N, int M, double sum[3]) {
    /* No term at all: the sums stay +0.0 and no function is read. */
    if (N <= 0 || M < 0) {
        sum[0] = 0.0;
        sum[1] = 0.0;
        sum[2] = 0.0;
        return;
    }
    activeRoutines().pointSums(sc, N, M, sum);
}

}  // namespace geoharm
